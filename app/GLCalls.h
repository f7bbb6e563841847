#pragma once
// The "GL Calls" window's object: it keeps the window's settings (its section of the settings
// file), applies the window's own additions to the frame, captures the chosen view's state at
// the point of the frame where that view's objects are drawn, and turns the learner's drags
// and choices into the panel's or the scene objects' own changes.
#include <QRect>
#include <QString>

#include "GLCallsHook.h"
#include "GLCallsRecord.h"
#include "GLCallsText.h"
#include "ManagedSingleton.h"

class TGLCallsWindow;
class TGLCalls;
extern TGLCalls* GLCalls;

class TGLCalls : public TManagedSingleton<TGLCalls, &GLCalls>, public TGLCallsHook {
 public:
  QString ClassName() const override { return QStringLiteral("TGLCallsWindow"); }
  void InitMembers() override;
  void FreeMembers() override;

  // The window.
  bool IsOpen() const;
  void Open();
  void Close();
  void Toggle();
  TGLCallsWindow* Window() const { return FWindow; }

  // The chosen view (0..6 in the order of ViewNames); in the single mode the current one.
  int ChosenView() const { return FViewIndex; }
  void SetChosenView(int Index);

  const TGLCallsExtras& Extras() const { return FExtras; }
  void SetExtras(const TGLCallsExtras& Extras);
  // The last capture, and its text and C file.
  const TGLCallsRecord& Record() const { return FRecord; }
  int Captures() const { return FCaptures; }
  TGLCallsText Text() const { return FormatCalls(FRecord); }
  std::string CText() const { return WriteC(FRecord); }
  // Puts the C file on the clipboard.
  void CopyAsC();
  // Asks for a file name through the main window's dialogs and writes the C file there; false
  // when cancelled or not written (a message says why).
  bool SaveAsC();

  // The learner's changes. Steps count from where the drag started (the cell's value then);
  // each call sets the value Steps steps away, inside the cell's range.
  void DragCell(const TGLCallsCell& Cell, int Steps);
  void EndDrag();
  void ChooseCell(const TGLCallsCell& Cell, GLenum Choice);
  // What a drag on Cell changes, as the hint under the text says it; empty when nothing.
  QString CellHint(const TGLCallsCell& Cell) const;
  bool IsEditable(const TGLCallsCell& Cell) const;

  // The frame's calls (the hook).
  void ViewApplied(const TGLView& View) override;
  void LightPassBegins() override;
  void LightPassEnds() override;
  void ObjectsDrawn() override;

  // The window's bounds as stored; empty until it was first placed.
  QRect FBounds;
  bool FOpen = false;

 protected:
  const TManagedTraits& Traits() const override;
  void ReadOwnSettings(TIniFile& Ini) override;
  void WriteOwnSettings(TIniFile& Ini) override;

 private:
  // Installs the hook when the frame needs it (window open or additions not at defaults).
  void UpdateHook();
  void Changed();
  void FillCalls(const TGLView& View);
  // Applies the value of a number cell.
  void SetNumber(const TGLCallsCell& Cell, double Value);

  TGLCallsWindow* FWindow = nullptr;
  int FViewIndex = 0;
  TGLCallsExtras FExtras;
  TGLCallsRecord FRecord;
  int FCaptures = 0;
  const TGLView* FDrawing = nullptr;  // the view being drawn, when it is the chosen one
  bool FLightsPushed = false;
  int FVolumeSteps = 0;  // of the drag in progress
};

// Creates the object (and opens its window if it was open at the last exit), and frees it
// saving its settings; a failed save is shown as a message.
void StartGLCalls();
void StopGLCalls();
