#pragma once
// Reading the table's state from the current context, and sending the window's own additions.
#include "GLCallsRecord.h"

// Fills Record's values, stipple and light count from the current context, row by row; the
// frame's calls are left as they are. Changes no state.
void CaptureState(TGLCallsRecord& Record);

// Sends Extras to the current context: the attenuation of the first LightCount lights, the
// light model's ambient and viewer, the shade model, fog and the texture environment.
void ApplyExtras(const TGLCallsExtras& Extras, int LightCount);
// The filters and wrap modes, to the texture bound now.
void ApplyTextureExtras(const TGLCallsExtras& Extras);
