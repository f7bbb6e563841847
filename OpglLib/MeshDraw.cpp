#include "MeshDraw.h"

#include "CompiledDraw.h"

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>

namespace {
bool Culling = true;

// A triangle counts as a back face only when it turns at least this far past edge-on (the
// cosine between its normal and the line of sight): nearly edge-on ones belong to the outline.
constexpr double BackFaceMargin = 0.02;

struct TBuffers {
  GLuint Vertices = 0, Indices = 0;
};
// Buffer objects by context and mesh; a context's buffers go with it.
std::map<QOpenGLContext*, std::map<const void*, TBuffers>> ContextBuffers;

double Determinant3(double A, double B, double C, double D, double E, double F, double G, double H,
                    double I) {
  return A * (E * I - F * H) - B * (D * I - F * G) + C * (D * H - E * G);
}

// Determinant of a column-major 4 x 4 matrix, along its first row.
double Determinant4(const double (&M)[16]) {
  const auto at = [&M](int Row, int Col) { return M[Col * 4 + Row]; };
  double det = 0;
  for (int c = 0; c < 4; ++c) {
    int cols[3], k = 0;
    for (int j = 0; j < 4; ++j)
      if (j != c) cols[k++] = j;
    const double minor =
        Determinant3(at(1, cols[0]), at(1, cols[1]), at(1, cols[2]), at(2, cols[0]), at(2, cols[1]),
                     at(2, cols[2]), at(3, cols[0]), at(3, cols[1]), at(3, cols[2]));
    det += (c % 2 ? -minor : minor) * at(0, c);
  }
  return det;
}
}  // namespace

void SetMeshCulling(bool On) {
  Culling = On;
}

bool MeshCulling() {
  return Culling;
}

TMeshArrays::TMeshArrays(const float (*Vertices)[3], const float (*Normals)[3],
                         const float (*TexCoords)[2], const int16_t* Triangles, int TriangleCount,
                         int Stride)
    : FVertices(Vertices),
      FNormals(Normals),
      FTexCoords(TexCoords),
      FTriangles(Triangles),
      FTriangleCount(TriangleCount),
      FStride(Stride),
      FFloatsPerCorner(TexCoords ? 8 : 6) {
  std::map<std::tuple<int, int, int>, GLuint> distinct;
  FIndices.reserve(static_cast<std::size_t>(TriangleCount) * 3);
  for (auto* values : {&FPlane[0], &FPlane[1], &FPlane[2], &FPlane[3], &FPlane[4], &FCorner[0],
                       &FCorner[1], &FCorner[2]})
    values->reserve(static_cast<std::size_t>(TriangleCount));
  float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
  for (int t = 0; t < TriangleCount; ++t) {
    const int16_t* row = Triangles + static_cast<std::ptrdiff_t>(t) * Stride;
    for (int k = 0; k < 3; ++k) {
      const int v = row[k], n = row[3 + k], c = TexCoords ? row[6 + k] : 0;
      FVertexCount = std::max(FVertexCount, v + 1);
      const auto key = std::make_tuple(v, n, c);
      auto it = distinct.find(key);
      if (it == distinct.end()) {
        it = distinct.emplace(key, static_cast<GLuint>(distinct.size())).first;
        FInterleaved.insert(FInterleaved.end(), Vertices[v], Vertices[v] + 3);
        FInterleaved.insert(FInterleaved.end(), Normals[n], Normals[n] + 3);
        if (TexCoords) FInterleaved.insert(FInterleaved.end(), TexCoords[c], TexCoords[c] + 2);
      }
      FIndices.push_back(it->second);
      for (int a = 0; a < 3; ++a) {
        const float x = Vertices[v][a];
        lo[a] = (t == 0 && k == 0) ? x : std::min(lo[a], x);
        hi[a] = (t == 0 && k == 0) ? x : std::max(hi[a], x);
      }
    }
    const float* a = Vertices[row[0]];
    const float* b = Vertices[row[1]];
    const float* c = Vertices[row[2]];
    const double e1[3] = {double(b[0]) - a[0], double(b[1]) - a[1], double(b[2]) - a[2]};
    const double e2[3] = {double(c[0]) - a[0], double(c[1]) - a[1], double(c[2]) - a[2]};
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                         e1[0] * e2[1] - e1[1] * e2[0]};
    for (int k = 0; k < 3; ++k) FPlane[k].push_back(static_cast<float>(n[k]));
    FPlane[3].push_back(static_cast<float>(-(n[0] * a[0] + n[1] * a[1] + n[2] * a[2])));
    FPlane[4].push_back(static_cast<float>(std::hypot(n[0], n[1], n[2])));
    for (int k = 0; k < 3; ++k) FCorner[k].push_back(a[k]);
  }
  if (DistinctCorners() <= 0x10000) FShortIndices.assign(FIndices.begin(), FIndices.end());
  for (int a = 0; a < 3; ++a) FCentre[a] = (lo[a] + hi[a]) / 2;
  double r2 = 0;
  for (int v = 0; v < FVertexCount; ++v) {
    double d2 = 0;
    for (int a = 0; a < 3; ++a) d2 += std::pow(double(Vertices[v][a]) - FCentre[a], 2);
    r2 = std::max(r2, d2);
  }
  // A little over, so that rounding never leaves a corner outside.
  FRadius = static_cast<float>(std::sqrt(r2) * 1.001 + 1e-6);
  FindInsideTriangles();
}

void TMeshArrays::FindInsideTriangles() {
  FInside.assign(static_cast<std::size_t>(FTriangleCount), 0);
  // The solids: triangles joined by shared vertices.
  std::vector<int> root(static_cast<std::size_t>(FVertexCount));
  for (int v = 0; v < FVertexCount; ++v) root[static_cast<std::size_t>(v)] = v;
  const auto find = [&root](int V) {
    while (root[static_cast<std::size_t>(V)] != V)
      V = root[static_cast<std::size_t>(V)] =
          root[static_cast<std::size_t>(root[static_cast<std::size_t>(V)])];
    return V;
  };
  const auto row = [this](int T) { return FTriangles + static_cast<std::ptrdiff_t>(T) * FStride; };
  for (int t = 0; t < FTriangleCount; ++t)
    for (int k = 1; k < 3; ++k) root[static_cast<std::size_t>(find(row(t)[k]))] = find(row(t)[0]);
  std::map<int, int> solidOf;
  std::vector<int> solid(static_cast<std::size_t>(FTriangleCount));
  for (int t = 0; t < FTriangleCount; ++t)
    solid[static_cast<std::size_t>(t)] =
        solidOf.emplace(find(row(t)[0]), static_cast<int>(solidOf.size())).first->second;
  if (solidOf.size() < 2) return;

  struct TSolid {
    std::vector<std::array<double, 4>> Planes;  // unit outward normal, offset
    std::vector<int> Vertices;
    double Lo[3] = {1e300, 1e300, 1e300}, Hi[3] = {-1e300, -1e300, -1e300};
    bool Convex = true;
  };
  std::vector<TSolid> solids(solidOf.size());
  for (int t = 0; t < FTriangleCount; ++t) {
    TSolid& s = solids[static_cast<std::size_t>(solid[static_cast<std::size_t>(t)])];
    const auto i = static_cast<std::size_t>(t);
    const double length = FPlane[4][i];
    if (length > 0)
      s.Planes.push_back({FPlane[0][i] / length, FPlane[1][i] / length, FPlane[2][i] / length,
                          double(FPlane[3][i]) / length});
    for (int k = 0; k < 3; ++k) {
      const float* p = FVertices[row(t)[k]];
      s.Vertices.push_back(row(t)[k]);
      for (int a = 0; a < 3; ++a) {
        s.Lo[a] = std::min(s.Lo[a], double(p[a]));
        s.Hi[a] = std::max(s.Hi[a], double(p[a]));
      }
    }
  }
  const auto side = [](const std::array<double, 4>& Plane, const float* P) {
    return Plane[0] * P[0] + Plane[1] * P[1] + Plane[2] * P[2] + Plane[3];
  };
  // Only a convex solid is known to enclose what lies behind all its faces.
  for (TSolid& s : solids)
    for (int v : s.Vertices) {
      for (const auto& plane : s.Planes)
        if (side(plane, FVertices[v]) > 1e-6 * FRadius) {
          s.Convex = false;
          break;
        }
      if (!s.Convex) break;
    }
  // Clear of the enclosing surface by this much, the depth test can never be in doubt.
  const double margin = 0.004 * FRadius;
  for (int t = 0; t < FTriangleCount; ++t) {
    const float* corners[3] = {FVertices[row(t)[0]], FVertices[row(t)[1]], FVertices[row(t)[2]]};
    for (std::size_t c = 0; c < solids.size(); ++c) {
      const TSolid& s = solids[c];
      if (!s.Convex || static_cast<int>(c) == solid[static_cast<std::size_t>(t)]) continue;
      bool inside = true;
      for (const float* p : corners)
        for (int a = 0; a < 3 && inside; ++a) inside = p[a] > s.Lo[a] && p[a] < s.Hi[a];
      for (std::size_t i = 0; i < s.Planes.size() && inside; ++i)
        for (const float* p : corners) inside = inside && side(s.Planes[i], p) < -margin;
      if (inside) {
        FInside[static_cast<std::size_t>(t)] = 1;
        break;
      }
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

// Leaves the current normal and texture coordinate where the corner-by-corner path does.
void TMeshArrays::SetCurrentCorner() const {
  const float* last = &FInterleaved[FIndices.back() * static_cast<std::size_t>(FFloatsPerCorner)];
  glNormal3fv(last + 3);
  if (FTexCoords) glTexCoord2fv(last + 6);
}

void TMeshArrays::EmitIndexed() const {
  if (FIndices.empty()) return;
  const GLsizei stride = static_cast<GLsizei>(FFloatsPerCorner * sizeof(float));
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, FInterleaved.data());
  glNormalPointer(GL_FLOAT, stride, FInterleaved.data() + 3);
  if (FTexCoords) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, FInterleaved.data() + 6);
  }
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(FIndices.size()), GL_UNSIGNED_INT,
                 FIndices.data());
  glPopClientAttrib();
  SetCurrentCorner();
}

bool TMeshArrays::BackFacesHidden(double (&Eye)[4]) const {
  // Back faces show through blending, without the depth test or its writes, with a depth test
  // other than nearer-wins, through discarded or stencilled fragments, with a logic operation,
  // smoothed or offset polygons, a culling of the caller's own, a clip plane, and in a display
  // list or in selection (the state it runs in, or what counts, is not known here).
  for (GLenum cap : {GL_BLEND, GL_ALPHA_TEST, GL_STENCIL_TEST, GL_COLOR_LOGIC_OP, GL_POLYGON_SMOOTH,
                     GL_POLYGON_OFFSET_FILL, GL_CULL_FACE})
    if (glIsEnabled(cap)) return false;
  if (!glIsEnabled(GL_DEPTH_TEST)) return false;
  GLint value = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  if (value != GL_LESS && value != GL_LEQUAL) return false;
  GLboolean writes = GL_FALSE;
  glGetBooleanv(GL_DEPTH_WRITEMASK, &writes);
  if (!writes) return false;
  GLfloat range[2] = {0, 1};
  glGetFloatv(GL_DEPTH_RANGE, range);
  if (!(range[0] < range[1])) return false;
  glGetIntegerv(GL_LIST_INDEX, &value);
  if (value != 0) return false;
  glGetIntegerv(GL_RENDER_MODE, &value);
  if (value != GL_RENDER) return false;
  GLint planes = 0;
  glGetIntegerv(GL_MAX_CLIP_PLANES, &planes);
  for (GLint i = 0; i < planes; ++i)
    if (glIsEnabled(static_cast<GLenum>(GL_CLIP_PLANE0 + i))) return false;

  GLdouble modelview[16], projection[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  double m[16];  // projection x modelview, column-major
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += projection[k * 4 + r] * modelview[c * 4 + k];
      m[c * 4 + r] = sum;
    }
  // A mirroring transformation turns the outside of a solid clockwise on the screen.
  if (!(Determinant4(m) < 0)) return false;
  // The near plane (z + w >= 0 in clip space) must leave every solid whole: once it cuts one
  // open, its inside shows. Beyond it every corner also has w > 0.
  double plane[4];
  for (int c = 0; c < 4; ++c) plane[c] = m[c * 4 + 2] + m[c * 4 + 3];
  const double length = std::hypot(plane[0], plane[1], plane[2]);
  const double centre =
      plane[0] * FCentre[0] + plane[1] * FCentre[1] + plane[2] * FCentre[2] + plane[3];
  const double margin = 1e-6 * (std::fabs(centre) + length * FRadius);
  if (!(std::isfinite(centre) && centre - length * FRadius > margin)) return false;
  // A mesh wholly beyond one side of the view, or beyond its far plane, gives no pixel (the
  // other views of a seven-view frame often cannot see it).
  FOutsideView = false;
  const struct {
    int Row;
    double Sign;
  } sides[] = {{0, 1}, {0, -1}, {1, 1}, {1, -1}, {2, -1}};  // w + x, w - x, ..., w - z
  for (const auto& side : sides) {
    double face[4];
    for (int c = 0; c < 4; ++c) face[c] = m[c * 4 + 3] + side.Sign * m[c * 4 + side.Row];
    const double reach = std::hypot(face[0], face[1], face[2]) * FRadius;
    const double at = face[0] * FCentre[0] + face[1] * FCentre[1] + face[2] * FCentre[2] + face[3];
    if (std::isfinite(at) && at + reach < -1e-6 * (std::fabs(at) + reach)) FOutsideView = true;
  }
  // The eye: the point that clip x, y and w all send to 0. A triangle's plane taken at it has
  // the sign of the triangle's turn on the screen (positive: counter-clockwise, its front).
  const auto at = [&m](int Row, int Col) { return m[Col * 4 + Row]; };
  for (int k = 0; k < 4; ++k) {
    int cols[3], j = 0;
    for (int c = 0; c < 4; ++c)
      if (c != k) cols[j++] = c;
    const double minor =
        Determinant3(at(0, cols[0]), at(0, cols[1]), at(0, cols[2]), at(1, cols[0]), at(1, cols[1]),
                     at(1, cols[2]), at(3, cols[0]), at(3, cols[1]), at(3, cols[2]));
    Eye[k] = k % 2 ? -minor : minor;
  }
  return std::isfinite(Eye[0] + Eye[1] + Eye[2] + Eye[3]);
}

bool TMeshArrays::VisibleSubset() const {
  double eye[4];
  if (!Culling || FShortIndices.empty() || !BackFacesHidden(eye)) return false;
  if (FOutsideView) {
    FSubset.clear();
    return true;
  }
  // Only the eye's direction counts: scaled to about 1 it suits single precision.
  const double largest =
      std::max({std::fabs(eye[0]), std::fabs(eye[1]), std::fabs(eye[2]), std::fabs(eye[3])});
  if (!(largest > 0)) return false;
  const float ex = static_cast<float>(eye[0] / largest), ey = static_cast<float>(eye[1] / largest),
              ez = static_cast<float>(eye[2] / largest), ew = static_cast<float>(eye[3] / largest);
  const auto count = static_cast<std::size_t>(FTriangleCount);
  FBack.resize(count);
  // A back face for sure: turned away by more than the margin, the cosine between its normal
  // and its line of sight (the plane at the eye over the normal's and the sight's lengths).
  const float margin2 = static_cast<float>(BackFaceMargin * BackFaceMargin);
  const float *nx = FPlane[0].data(), *ny = FPlane[1].data(), *nz = FPlane[2].data(),
              *nd = FPlane[3].data(), *nl = FPlane[4].data();
  const float *ax = FCorner[0].data(), *ay = FCorner[1].data(), *az = FCorner[2].data();
  uint8_t* back = FBack.data();
  for (std::size_t t = 0; t < count; ++t) {
    const float turn = nx[t] * ex + ny[t] * ey + nz[t] * ez + nd[t] * ew;
    const float sx = ex - ew * ax[t], sy = ey - ew * ay[t], sz = ez - ew * az[t];
    const float sight2 = sx * sx + sy * sy + sz * sz;
    back[t] = (turn < 0) & (turn * turn > margin2 * nl[t] * nl[t] * sight2);
  }
  // Corners of the outline: those of every triangle that is not surely a back face.
  FOutline.assign(static_cast<std::size_t>(FVertexCount), 0);
  for (std::size_t t = 0; t < count; ++t)
    if (!back[t]) {
      const int16_t* row = FTriangles + static_cast<std::ptrdiff_t>(t) * FStride;
      FOutline[static_cast<std::size_t>(row[0])] = 1;
      FOutline[static_cast<std::size_t>(row[1])] = 1;
      FOutline[static_cast<std::size_t>(row[2])] = 1;
    }
  FSubset.resize(FShortIndices.size());
  uint16_t* out = FSubset.data();
  const uint16_t* corners = FShortIndices.data();
  for (std::size_t t = 0; t < count; ++t, corners += 3) {
    const int16_t* row = FTriangles + static_cast<std::ptrdiff_t>(t) * FStride;
    const bool hidden = FInside[t] || (back[t] && !FOutline[static_cast<std::size_t>(row[0])] &&
                                       !FOutline[static_cast<std::size_t>(row[1])] &&
                                       !FOutline[static_cast<std::size_t>(row[2])]);
    if (hidden) continue;
    out[0] = corners[0];
    out[1] = corners[1];
    out[2] = corners[2];
    out += 3;
  }
  FSubset.resize(static_cast<std::size_t>(out - FSubset.data()));
  return FSubset.size() < FShortIndices.size();
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
  const GLsizei stride = static_cast<GLsizei>(FFloatsPerCorner * sizeof(float));
  gl->glBindBuffer(GL_ARRAY_BUFFER, buffers.Vertices);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, stride, nullptr);
  glNormalPointer(GL_FLOAT, stride, reinterpret_cast<const void*>(3 * sizeof(float)));
  if (FTexCoords) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, reinterpret_cast<const void*>(6 * sizeof(float)));
  }
  const GLuint last = static_cast<GLuint>(DistinctCorners() - 1);
  if (VisibleSubset()) {
    // The triangles that may show, in table order, straight from our memory.
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    if (!FSubset.empty())
      gl->glDrawRangeElements(GL_TRIANGLES, 0, last, static_cast<GLsizei>(FSubset.size()),
                              GL_UNSIGNED_SHORT, FSubset.data());
    FLastDrawn = static_cast<int>(FSubset.size() / 3);
  } else {
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers.Indices);
    gl->glDrawRangeElements(GL_TRIANGLES, 0, last, static_cast<GLsizei>(FShortIndices.size()),
                            GL_UNSIGNED_SHORT, nullptr);
    FLastDrawn = FTriangleCount;
  }
  gl->glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
  gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(elementBuffer));
  glPopClientAttrib();
  SetCurrentCorner();
  return true;
}

void TMeshArrays::Draw() const {
  GLint modes[2];
  Begin(modes);
  FLastDrawn = FTriangleCount;
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
  FLastDrawn = FTriangleCount;
}
