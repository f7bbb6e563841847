#pragma once
// What the frame tells the "GL Calls" window. The pointer is null while that window is closed
// and its own settings are OpenGL's defaults: the frame then pays one test per call site.
struct TGLView;

class TGLCallsHook {
 public:
  virtual ~TGLCallsHook() = default;
  // View's projection, model-view and viewport are loaded; its scene comes next.
  virtual void ViewApplied(const TGLView& View) = 0;
  // Around the scene's light pass.
  virtual void LightPassBegins() = 0;
  virtual void LightPassEnds() = 0;
  // The view's objects are drawn, the last one's material still in place.
  virtual void ObjectsDrawn() = 0;
};

extern TGLCallsHook* GLCallsHook;

// Opens the "GL Calls" window, or closes it when it is open (F2 and the panel's button).
void ToggleGLCalls();
