#pragma once
// Process-wide drawing globals: the origin and the one GLU quadric every sphere is drawn with.
#include <GL/glu.h>

#include "GOpglDefine.h"

extern TGLPoint4f GLOrigin;
extern GLUquadric* GLQuadric;

// Masks every floating-point exception, so geometry divides by zero into infinities or NaN.
void MaskFPUExceptions();
// Start-up: sets the origin and creates the quadric (no rendering context needed).
void InitGOpglVariable();
// Shut-down: deletes the quadric.
void DoneGOpglVariable();
