#include "MeshDraw.h"

#include "CompiledDraw.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <map>
#include <tuple>

namespace {
struct TBuffers {
  GLuint Vertices = 0, Indices = 0;
};
// Buffer objects by context and mesh; a context's buffers go with it.
std::map<QOpenGLContext*, std::map<const void*, TBuffers>> ContextBuffers;
}  // namespace

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
  const std::size_t corners = FPositions.size() / 3;
  if (corners <= 0x10000) {
    for (std::size_t i = 0; i < corners; ++i) {
      FInterleaved.insert(FInterleaved.end(), &FPositions[i * 3], &FPositions[i * 3] + 3);
      FInterleaved.insert(FInterleaved.end(), &FNormalArray[i * 3], &FNormalArray[i * 3] + 3);
      if (TexCoords)
        FInterleaved.insert(FInterleaved.end(), &FTexArray[i * 2], &FTexArray[i * 2] + 2);
    }
    FShortIndices.assign(FIndices.begin(), FIndices.end());
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

bool TMeshArrays::EmitBuffered() const {
  QOpenGLContext* context = QOpenGLContext::currentContext();
  if (!context || FShortIndices.empty()) return false;
  GLint compiling = 0;
  glGetIntegerv(GL_LIST_INDEX, &compiling);
  if (compiling) return false;
  QOpenGLExtraFunctions* gl = context->extraFunctions();
  auto contextBuffers = ContextBuffers.find(context);
  if (contextBuffers == ContextBuffers.end()) {
    contextBuffers = ContextBuffers.emplace(context, std::map<const void*, TBuffers>{}).first;
    QObject::connect(context, &QOpenGLContext::aboutToBeDestroyed, context,
                     [context] { ContextBuffers.erase(context); });
  }
  TBuffers& buffers = contextBuffers->second[this];
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  GLint arrayBuffer = 0, elementBuffer = 0;
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
  glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
  if (!buffers.Vertices) {
    gl->glGenBuffers(1, &buffers.Vertices);
    gl->glGenBuffers(1, &buffers.Indices);
    if (!buffers.Vertices || !buffers.Indices) {
      contextBuffers->second.erase(this);
      glPopClientAttrib();
      return false;
    }
    gl->glBindBuffer(GL_ARRAY_BUFFER, buffers.Vertices);
    gl->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(FInterleaved.size() * sizeof(float)),
                     FInterleaved.data(), GL_STATIC_DRAW);
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.Indices);
    gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                     static_cast<GLsizeiptr>(FShortIndices.size() * sizeof(uint16_t)),
                     FShortIndices.data(), GL_STATIC_DRAW);
  }
  const GLsizei stride = static_cast<GLsizei>((FTexCoords ? 8 : 6) * sizeof(float));
  gl->glBindBuffer(GL_ARRAY_BUFFER, buffers.Vertices);
  gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.Indices);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, nullptr);
  glNormalPointer(GL_FLOAT, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
  if (FTexCoords) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(6 * sizeof(float)));
  }
  gl->glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(DistinctCorners() - 1),
                          static_cast<GLsizei>(FShortIndices.size()), GL_UNSIGNED_SHORT, nullptr);
  gl->glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
  gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(elementBuffer));
  glPopClientAttrib();
  // Leave the current normal and texture coordinate where the corner-by-corner path does.
  const GLuint last = FIndices.back();
  glNormal3fv(&FNormalArray[last * 3]);
  if (FTexCoords) glTexCoord2fv(&FTexArray[last * 2]);
  return true;
}

void TMeshArrays::Draw() const {
  GLint modes[2];
  Begin(modes);
  if (ImmediateDrawing())
    EmitImmediate();
  else if (!EmitBuffered())
    CallCompiled(this, 0, [this] { EmitIndexed(); });
  End(modes);
}

void TMeshArrays::DrawImmediate() const {
  GLint modes[2];
  Begin(modes);
  EmitImmediate();
  End(modes);
}
