// The replay half of the C round trip, linked at test time with the exported C file: a fresh
// OpenGL context of its own, opgl_apply_state() run in it, and every row of the state table read
// back and printed (ValueDump.h). Exits 2 without a display or context, 3 on an OpenGL error.
#include <cstdio>

#include "GLCapture.h"
#include "ValueDump.h"

// Last: Xlib defines None and Bool as macros.
#include <GL/glx.h>

extern "C" void opgl_apply_state(void);

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no display\n");
    return 2;
  }
  int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 24, None};
  XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
  if (!visual) {
    std::fprintf(stderr, "no visual\n");
    return 2;
  }
  const Window root = RootWindow(display, visual->screen);
  XSetWindowAttributes set{};
  set.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  const Window window = XCreateWindow(display, root, 0, 0, 64, 64, 0, visual->depth, InputOutput,
                                      visual->visual, CWColormap, &set);
  GLXContext context = glXCreateContext(display, visual, nullptr, True);
  if (!context || !glXMakeCurrent(display, window, context)) {
    std::fprintf(stderr, "no context\n");
    return 2;
  }
  opgl_apply_state();
  TGLCallsRecord record;
  CaptureState(record);
  const GLenum error = glGetError();
  std::fputs(DumpValues(record).c_str(), stdout);
  glXMakeCurrent(display, None, nullptr);
  glXDestroyContext(display, context);
  XDestroyWindow(display, window);
  XFree(visual);
  XCloseDisplay(display);
  if (error != GL_NO_ERROR) {
    std::fprintf(stderr, "OpenGL error 0x%04X\n", error);
    return 3;
  }
  return 0;
}
