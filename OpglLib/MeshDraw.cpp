#include "MeshDraw.h"

#include "CompiledDraw.h"

#include <map>
#include <tuple>

TMeshArrays::TMeshArrays(const float (*Vertices)[3], const float (*Normals)[3],
                         const float (*TexCoords)[2], const int16_t* Triangles, int TriangleCount,
                         int Stride)
    : FVertices(Vertices),
      FNormals(Normals),
      FTexCoords(TexCoords),
      FTriangles(Triangles),
      FTriangleCount(TriangleCount),
      FStride(Stride) {
  std::map<std::tuple<int, int, int>, GLuint> distinct;
  FIndices.reserve(static_cast<std::size_t>(TriangleCount) * 3);
  for (int t = 0; t < TriangleCount; ++t) {
    const int16_t* row = Triangles + static_cast<std::ptrdiff_t>(t) * Stride;
    for (int k = 0; k < 3; ++k) {
      const int v = row[k], n = row[3 + k], c = TexCoords ? row[6 + k] : 0;
      const auto key = std::make_tuple(v, n, c);
      auto it = distinct.find(key);
      if (it == distinct.end()) {
        it = distinct.emplace(key, static_cast<GLuint>(FPositions.size() / 3)).first;
        FPositions.insert(FPositions.end(), Vertices[v], Vertices[v] + 3);
        FNormalArray.insert(FNormalArray.end(), Normals[n], Normals[n] + 3);
        if (TexCoords) FTexArray.insert(FTexArray.end(), TexCoords[c], TexCoords[c] + 2);
      }
      FIndices.push_back(it->second);
    }
  }
}

void TMeshArrays::Begin(GLint (&Modes)[2]) const {
  // Always solid, whatever the scene's polygon mode; drawn 20 units long.
  glGetIntegerv(GL_POLYGON_MODE, Modes);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glEnable(GL_NORMALIZE);
  glScalef(20, 20, 20);
}

void TMeshArrays::End(const GLint (&Modes)[2]) const {
  glPolygonMode(GL_FRONT, static_cast<GLenum>(Modes[0]));
  glPolygonMode(GL_BACK, static_cast<GLenum>(Modes[1]));
  glScalef(0.05f, 0.05f, 0.05f);
}

void TMeshArrays::EmitImmediate() const {
  glBegin(GL_TRIANGLES);
  for (int t = 0; t < FTriangleCount; ++t) {
    const int16_t* row = FTriangles + static_cast<std::ptrdiff_t>(t) * FStride;
    for (int k = 0; k < 3; ++k) {
      glNormal3fv(FNormals[row[3 + k]]);
      if (FTexCoords) glTexCoord2fv(FTexCoords[row[6 + k]]);
      glVertex3fv(FVertices[row[k]]);
    }
  }
  glEnd();
}

void TMeshArrays::EmitIndexed() const {
  if (FIndices.empty()) return;
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, FPositions.data());
  glNormalPointer(GL_FLOAT, 0, FNormalArray.data());
  if (FTexCoords) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, FTexArray.data());
  }
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(FIndices.size()), GL_UNSIGNED_INT,
                 FIndices.data());
  glPopClientAttrib();
  // Leave the current normal and texture coordinate where the corner-by-corner path does.
  const GLuint last = FIndices.back();
  glNormal3fv(&FNormalArray[last * 3]);
  if (FTexCoords) glTexCoord2fv(&FTexArray[last * 2]);
}

void TMeshArrays::Draw() const {
  GLint modes[2];
  Begin(modes);
  if (ImmediateDrawing())
    EmitImmediate();
  else
    CallCompiled(this, 0, [this] { EmitIndexed(); });
  End(modes);
}

void TMeshArrays::DrawImmediate() const {
  GLint modes[2];
  Begin(modes);
  EmitImmediate();
  End(modes);
}
