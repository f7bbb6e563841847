// Handlers of the "GLTexturer" tab: the texture list and the cube's texture.
#include <QLineEdit>

#include "OpglTexture.h"
#include "frmOpgl.h"

void TMainForm::Button8Click(QObject*) {
  if (!ChooseOpenPicture()) return;
  if (GLTexturer->AddTextureFromFile(OpenPicture.FileName)) FillTextureList();
  RenderFrame();
}

void TMainForm::Button9Click(QObject*) {
  // Without a selection this passes -1, which deletes nothing.
  GLTexturer->DeleteTexture(lbxTextures->ItemIndex());
  FillTextureList();
  RenderFrame();
}

void TMainForm::Button10Click(QObject*) {
  GLTexturer->ClearTextures();
  FillTextureList();
  RenderFrame();
}

void TMainForm::lbxTexturesClick(QObject*) {
  const int index = lbxTextures->ItemIndex();
  if (index < 0) return;
  const TGLTexture* texture = GLTexturer->GetTexture(index);
  if (!texture) return;
  edTxtWH->setText(FormatText("%d x %d - ", texture->Width, texture->Height) + texture->Source);
  // The cube shows the selected texture.
  RenderFrame();
}

void TMainForm::ckbxAutoGenTextureClick(QObject*) {
  RenderFrame();
}
