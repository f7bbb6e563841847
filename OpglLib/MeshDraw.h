#pragma once
// Drawing a rigid mesh whose triangle corners index separate vertex, normal and texture tables.
#include <GL/gl.h>

#include <cstdint>
#include <vector>

// Leaving out the faces that can never show. Each mesh is a set of closed solids wound
// counter-clockwise seen from outside, so the depth test hides a back face behind the front
// of its own solid; only next to the outline, where front and back meet at one depth, can
// rounding let one through. The shortcut leaves out the back faces that share no corner with
// a face turned toward the eye or nearly edge-on, and the triangles that lie inside another
// convex solid of the same mesh, clear of its surface, and the whole mesh when it lies beyond a
// side or the far plane of the view; and only while nothing else can show
// them (blending, no depth test, a solid cut open by the near plane, ...): the picture stays
// the same. On by default; off draws every triangle (the reference it is checked against).
void SetMeshCulling(bool On);
bool MeshCulling();

// The mesh flattened once into distinct corners (vertex, normal, texture coordinate) and one
// index per corner, so one indexed draw emits the same triangles in the same order.
class TMeshArrays {
 public:
  // Stride is the number of int16 per triangle (6 or 9); TexCoords may be null.
  TMeshArrays(const float (*Vertices)[3], const float (*Normals)[3], const float (*TexCoords)[2],
              const int16_t* Triangles, int TriangleCount, int Stride);

  // The triangles, with the polygon-mode, normalisation and scaling steps around them; one
  // indexed draw from buffer objects kept per rendering context (corner by corner in immediate
  // drawing; from a display list where buffer objects are missing).
  void Draw() const;
  // The same, corner by corner between glBegin and glEnd.
  void DrawImmediate() const;

  int CornerCount() const { return static_cast<int>(FIndices.size()); }
  int DistinctCorners() const { return static_cast<int>(FInterleaved.size() / FFloatsPerCorner); }
  // Triangles the last draw sent (all of them unless back faces were left out).
  int LastDrawnTriangles() const { return FLastDrawn; }

 private:
  void Begin(GLint (&Modes)[2]) const;
  void End(const GLint (&Modes)[2]) const;
  void EmitIndexed() const;
  bool EmitBuffered() const;
  void EmitImmediate() const;
  void SetCurrentCorner() const;
  // The eye in the mesh's homogeneous coordinates when back faces cannot show in the current
  // state; false when everything must be drawn.
  bool BackFacesHidden(double (&Eye)[4]) const;
  // Fills FSubset with the corner indices of the triangles that may show; false when they
  // are all of them.
  bool VisibleSubset() const;
  // Marks the triangles that lie inside another solid of the mesh, clear of its surface.
  void FindInsideTriangles();

  const float (*FVertices)[3];
  const float (*FNormals)[3];
  const float (*FTexCoords)[2];
  const int16_t* FTriangles;
  int FTriangleCount;
  int FStride;
  int FVertexCount = 0;
  int FFloatsPerCorner;
  // Position, normal (and texture coordinate) per distinct corner.
  std::vector<float> FInterleaved;
  std::vector<GLuint> FIndices;
  std::vector<uint16_t> FShortIndices;  // the same, when they fit 16 bits
  // Per triangle, one array a value: its plane (outward normal, offset), the normal's length
  // and its first corner; whether it lies wholly inside another solid of the mesh.
  std::vector<float> FPlane[5], FCorner[3];
  std::vector<uint8_t> FInside;
  // A sphere around every vertex, in the table's coordinates.
  float FCentre[3] = {0, 0, 0};
  float FRadius = 0;
  // Scratch of the last draw.
  mutable std::vector<uint16_t> FSubset;
  mutable std::vector<uint8_t> FOutline;
  mutable std::vector<uint8_t> FBack;
  mutable int FLastDrawn = 0;
  mutable bool FOutsideView = false;  // the last check found the mesh outside the view
};
