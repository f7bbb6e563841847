#pragma once
// A record as the calls that make it: the text the "GL Calls" window shows, with the numbers
// that can be dragged marked as cells, and the C file that puts a fresh context into the same
// state. Both walk the state table with one writer, so they always agree.
#include <string>
#include <vector>

#include "GLCallsRecord.h"

// One number (or enumeration) of the shown text that the window lets the learner change.
struct TGLCallsCell {
  int Line = 0, Column = 0, Length = 0;  // where it stands, in characters
  const TCellRule* Rule = nullptr;       // what it changes, its range, step and hint
  int Light = -1;                        // the light it belongs to
  GLenum Face = 0;                       // the material face
  int Component = 0;                     // x/y/z, r/g/b, or constant/linear/quadratic
  double Value = 0;                      // as shown
};

struct TGLCallsText {
  std::vector<std::string> Lines;
  std::vector<TGLCallsCell> Cells;
  // The lines joined with '\n'.
  std::string Joined() const;
  // The cell under the character at (Line, Column), or nullptr.
  const TGLCallsCell* CellAt(int Line, int Column) const;
};

// The view's calls in the order the frame makes them, with what OpenGL holds where it differs
// from what was passed (matrices, light positions and directions in eye coordinates).
TGLCallsText FormatCalls(const TGLCallsRecord& Record);

// A self-contained C file defining void opgl_apply_state(void), which puts a fresh OpenGL 1.1
// context into Record's state.
std::string WriteC(const TGLCallsRecord& Record);

// The rules of the frame's own numbers (the ones OpenGL does not hold), next to the calls that
// pass them: field of view, eye, view point, volume size, object scale, light places and spot
// aims, and where the lights are given.
const TCellRule& FrameCellRule(TEdit Edit);
