#include "MaterialDefine.h"

#include <GL/gl.h>

#include "BrimloLogo.h"

const std::array<TGLMaterial, MaterialPresetCount> MaterialPresets = {{
    GLMaterial(0.329412f, 0.223529f, 0.027451f, 0.5f, 0.780392f, 0.568627f, 0.113725f, 0.5f,
               0.992157f, 0.941176f, 0.807843f, 0.5f, 0.278974f),
    GLMaterial(0.2125f, 0.1275f, 0.054f, 0.5f, 0.714f, 0.4284f, 0.18144f, 0.5f, 0.393548f,
               0.271906f, 0.166721f, 0.5f, 0.256f),
    GLMaterial(0.25f, 0.148f, 0.06475f, 0.5f, 0.4f, 0.2368f, 0.1036f, 0.5f, 0.774597f, 0.458561f,
               0.200621f, 0.5f, 0.768f),
    GLMaterial(0.25f, 0.25f, 0.25f, 0.5f, 0.4f, 0.4f, 0.4f, 0.5f, 0.774597f, 0.774597f, 0.774597f,
               0.5f, 0.768f),
    GLMaterial(0.19125f, 0.0735f, 0.0225f, 0.5f, 0.7038f, 0.27048f, 0.0828f, 0.5f, 0.256777f,
               0.137622f, 0.086014f, 0.5f, 0.128f),
    GLMaterial(0.2295f, 0.08825f, 0.0275f, 0.5f, 0.5508f, 0.2118f, 0.066f, 0.5f, 0.580594f,
               0.223257f, 0.0695701f, 0.5f, 0.512f),
    GLMaterial(0.24725f, 0.1995f, 0.0745f, 0.5f, 0.75164f, 0.60648f, 0.22648f, 0.5f, 0.628281f,
               0.555802f, 0.366065f, 0.5f, 0.512f),
    GLMaterial(0.24725f, 0.2245f, 0.0645f, 0.5f, 0.34615f, 0.3143f, 0.0903f, 0.5f, 0.797357f,
               0.723991f, 0.208006f, 0.5f, 0.832f),
    GLMaterial(0.105882f, 0.058824f, 0.113725f, 0.5f, 0.427451f, 0.470588f, 0.541176f, 0.5f,
               0.333333f, 0.333333f, 0.521569f, 0.5f, 0.0984615f),
    GLMaterial(0.19225f, 0.19225f, 0.19225f, 0.5f, 0.50754f, 0.50754f, 0.50754f, 0.5f, 0.508273f,
               0.508273f, 0.508273f, 0.5f, 0.512f),
    GLMaterial(0.23125f, 0.23125f, 0.23125f, 0.5f, 0.2775f, 0.2775f, 0.2775f, 0.5f, 0.773911f,
               0.773911f, 0.773911f, 0.5f, 0.896f),
    GLMaterial(0.0215f, 0.1745f, 0.0215f, 0.55f, 0.07568f, 0.61424f, 0.07568f, 0.55f, 0.633f,
               0.727811f, 0.633f, 0.55f, 0.768f),
    GLMaterial(0.135f, 0.2225f, 0.1575f, 0.95f, 0.54f, 0.89f, 0.63f, 0.95f, 0.316228f, 0.316228f,
               0.316228f, 0.95f, 0.128f),
    GLMaterial(0.05375f, 0.05f, 0.06625f, 0.82f, 0.18275f, 0.17f, 0.22525f, 0.82f, 0.332741f,
               0.328634f, 0.346435f, 0.82f, 0.384f),
    GLMaterial(0.25f, 0.20725f, 0.20725f, 0.922f, 1.0f, 0.829f, 0.829f, 0.922f, 0.296648f,
               0.296648f, 0.296648f, 0.922f, 0.11264f),
    GLMaterial(0.1745f, 0.01175f, 0.01175f, 0.55f, 0.61424f, 0.04136f, 0.04136f, 0.55f, 0.727811f,
               0.626959f, 0.626959f, 0.55f, 0.768f),
    GLMaterial(0.1f, 0.18725f, 0.1745f, 0.8f, 0.396f, 0.74151f, 0.69102f, 0.8f, 0.297254f, 0.30829f,
               0.306678f, 0.8f, 0.128f),
    GLMaterial(0.0f, 0.0f, 0.0f, 0.5f, 0.01f, 0.01f, 0.01f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.32f),
    GLMaterial(0.02f, 0.02f, 0.02f, 0.5f, 0.01f, 0.01f, 0.01f, 0.5f, 0.4f, 0.4f, 0.4f, 0.5f, 0.1f),
    GLMaterial(0.05f, 0.05f, 0.0f, 0.5f, 0.5f, 0.5f, 0.4f, 0.5f, 0.7f, 0.7f, 0.04f, 0.5f,
               0.078125f),
    GLMaterial(0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.0f, 0.0f, 0.5f, 0.7f, 0.6f, 0.6f, 0.5f, 0.25f),
    GLMaterial(0.0f, 0.05f, 0.05f, 0.5f, 0.4f, 0.5f, 0.5f, 0.5f, 0.04f, 0.7f, 0.7f, 0.5f,
               0.078125f),
}};

const std::array<QString, MaterialPresetCount> MaterialNames = {
    QStringLiteral("Brass"),
    QStringLiteral("Bronze"),
    QStringLiteral("Polished_Bronze"),
    QStringLiteral("Chrome"),
    QStringLiteral("Copper"),
    QStringLiteral("Polished_Copper"),
    QStringLiteral("Gold"),
    QStringLiteral("Polished_Gold"),
    QStringLiteral("Pewter"),
    QStringLiteral("Silver"),
    QStringLiteral("Polished_Silver"),
    QStringLiteral("Emerald"),
    QStringLiteral("Jade"),
    QStringLiteral("Obsidian"),
    QStringLiteral("Pearl"),
    QStringLiteral("Ruby"),
    QStringLiteral("Turquoise"),
    QStringLiteral("Black_Plastic"),
    QStringLiteral("Black_Rubber"),
    QStringLiteral("Yellow Rubber"),
    QStringLiteral("Red Plastic"),
    QStringLiteral("cyan rubber"),
};

void ApplyPresetMaterial(const TGLMaterial& Material) {
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &Material.Ambient.R);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &Material.Diffuse.R);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, &Material.Specular.R);
  const GLfloat shininess = Material.Shininess * 128.0f;
  glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &shininess);
}

namespace {
void SendMaterial(const TGLColor4f& Ambient, const TGLColor4f& Diffuse, const TGLColor4f& Specular,
                  GLfloat Shininess, const TGLColor4f& Emission) {
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &Ambient.R);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &Diffuse.R);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, &Specular.R);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, &Shininess);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &Emission.R);
}
}  // namespace

void ApplyMaterialMode() {
  if (!GLBrimloLogo) return;
  const TGLBrimloLogo& logo = *GLBrimloLogo;
  switch (logo.FMaterialMode) {
    case mmUserDefine:
      SendMaterial(logo.FClrAmbient, logo.FClrDiffuse, logo.FClrSpecular, logo.FShinese,
                   logo.FClrEmission);
      break;
    case mmNormal:
      SendMaterial(clGLBlack, clGLWhite, clGLBlack, ShininessHigh, clGLBlack);
      break;
    case mmPhone:
      SendMaterial(clGLBlack, clGLWhite, clGLWhite, ShininessLow, clGLBlack);
      break;
    case mmMetal:
      SendMaterial(clGLBlack, clGLWhite, clGLWhite, ShininessMid, clGLBlack);
      break;
    case mmPlastic:
      SendMaterial(clGLBlack, clGLBlack, clGLDarkGray, ShininessMid, clGLDarkGray);
      break;
    default:  // "Others": the preset is loaded by the surface set-up
      break;
  }
}

void ApplySurface(const TGLColor4f& PartColor) {
  if (!GLBrimloLogo) return;
  const TGLBrimloLogo& logo = *GLBrimloLogo;
  if (logo.FColorMaterial) {
    glEnable(GL_COLOR_MATERIAL);
    glColor3fv(&PartColor.R);
  } else {
    glDisable(GL_COLOR_MATERIAL);
    glColor3fv(&clGLBlack.R);
  }
  if (logo.FMaterialMode == mmOthers)
    ApplyPresetMaterial(logo.FPresetMaterial);
  else
    ApplyMaterialMode();
  if (logo.FMixLogoColor) {
    const TGLColor4f mixed =
        MixGLColor(PartColor, logo.FPresetMaterial.Diffuse, logo.FMixRate, 1.0f - logo.FMixRate);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &mixed.R);
  }
}
