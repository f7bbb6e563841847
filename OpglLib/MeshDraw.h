#pragma once
// Drawing a rigid mesh whose triangle corners index separate vertex, normal and texture tables.
#include <GL/gl.h>

#include <cstdint>
#include <vector>

// The mesh flattened once into arrays of distinct corners (vertex, normal, texture coordinate)
// and one index per corner, so one indexed draw emits the same triangles in the same order.
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
  int DistinctCorners() const { return static_cast<int>(FPositions.size() / 3); }

 private:
  void Begin(GLint (&Modes)[2]) const;
  void End(const GLint (&Modes)[2]) const;
  void EmitIndexed() const;
  bool EmitBuffered() const;
  void EmitImmediate() const;

  const float (*FVertices)[3];
  const float (*FNormals)[3];
  const float (*FTexCoords)[2];
  const int16_t* FTriangles;
  int FTriangleCount;
  int FStride;
  std::vector<float> FPositions, FNormalArray, FTexArray;
  std::vector<GLuint> FIndices;
  // Interleaved position, normal (and texture coordinate) per distinct corner; 16-bit indices.
  std::vector<float> FInterleaved;
  std::vector<uint16_t> FShortIndices;
};
