// Builds the hand and robot meshes and writes them as C++ tables.
//
//   MeshGen <hand.cpp> <robot.cpp>
//
// The hand is a box-modelled quad cage (palm, wrist, four fingers, thumb: 90 quads) smoothed by
// three Catmull-Clark steps; the robot is 137 closed parts (boxes, cylinders, spheres). Both are
// centred, scaled to run from -0.5 to 0.5 along Z, and fitted to their X and Y extents. The
// output depends on nothing but this file.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Vec {
  double x = 0, y = 0, z = 0;
};
Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator*(Vec a, double s) {
  return {a.x * s, a.y * s, a.z * s};
}
double Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(Vec a, Vec b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Unit(Vec a) {
  const double l = std::sqrt(Dot(a, a));
  return l > 0 ? a * (1.0 / l) : Vec{0, 0, 1};
}

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "MeshGen: %s\n", what.c_str());
  std::exit(1);
}

// ---------------------------------------------------------------------------------------------
// Hand: quad cage, extrusions, Catmull-Clark.

struct QuadMesh {
  std::vector<Vec> v;
  std::vector<std::array<int, 4>> f;
};

// An axis-aligned box of nx x ny x nz quads, faces counter-clockwise seen from outside.
QuadMesh GridBox(Vec lo, Vec hi, int nx, int ny, int nz) {
  QuadMesh m;
  std::map<std::tuple<int, int, int>, int> index;
  auto vert = [&](int i, int j, int k) {
    const auto key = std::make_tuple(i, j, k);
    auto it = index.find(key);
    if (it != index.end()) return it->second;
    const Vec p{lo.x + (hi.x - lo.x) * i / nx, lo.y + (hi.y - lo.y) * j / ny,
                lo.z + (hi.z - lo.z) * k / nz};
    m.v.push_back(p);
    index[key] = static_cast<int>(m.v.size()) - 1;
    return static_cast<int>(m.v.size()) - 1;
  };
  // Each face: a grid over two axes at a fixed third, oriented by the outward normal.
  for (int side = 0; side < 2; ++side) {
    const int z = side ? nz : 0;
    for (int i = 0; i < nx; ++i)
      for (int j = 0; j < ny; ++j) {
        std::array<int, 4> q{vert(i, j, z), vert(i + 1, j, z), vert(i + 1, j + 1, z),
                             vert(i, j + 1, z)};
        if (!side) std::reverse(q.begin(), q.end());
        m.f.push_back(q);
      }
    const int y = side ? ny : 0;
    for (int i = 0; i < nx; ++i)
      for (int k = 0; k < nz; ++k) {
        std::array<int, 4> q{vert(i, y, k), vert(i + 1, y, k), vert(i + 1, y, k + 1),
                             vert(i, y, k + 1)};
        if (side) std::reverse(q.begin(), q.end());
        m.f.push_back(q);
      }
    const int x = side ? nx : 0;
    for (int j = 0; j < ny; ++j)
      for (int k = 0; k < nz; ++k) {
        std::array<int, 4> q{vert(x, j, k), vert(x, j + 1, k), vert(x, j + 1, k + 1),
                             vert(x, j, k + 1)};
        if (!side) std::reverse(q.begin(), q.end());
        m.f.push_back(q);
      }
  }
  return m;
}

Vec FaceCentre(const QuadMesh& m, const std::vector<int>& faces) {
  Vec c;
  int n = 0;
  for (int fi : faces)
    for (int k = 0; k < 4; ++k) {
      c = c + m.v[static_cast<std::size_t>(m.f[static_cast<std::size_t>(fi)][k])];
      ++n;
    }
  return c * (1.0 / n);
}

// Extrudes a connected region of faces: its vertices are copied, moved by Map, and the region's
// boundary gets one ring of side quads.
template <class MapFn>
void Extrude(QuadMesh& m, const std::vector<int>& faces, MapFn Map) {
  std::map<std::pair<int, int>, int> edgeUse;
  for (int fi : faces) {
    const auto& q = m.f[static_cast<std::size_t>(fi)];
    for (int k = 0; k < 4; ++k) ++edgeUse[{q[k], q[(k + 1) % 4]}];
  }
  std::map<int, int> copy;
  for (int fi : faces)
    for (int k = 0; k < 4; ++k) {
      const int a = m.f[static_cast<std::size_t>(fi)][k];
      if (!copy.count(a)) {
        m.v.push_back(Map(m.v[static_cast<std::size_t>(a)]));
        copy[a] = static_cast<int>(m.v.size()) - 1;
      }
    }
  std::vector<std::array<int, 4>> sides;
  for (int fi : faces) {
    auto& q = m.f[static_cast<std::size_t>(fi)];
    for (int k = 0; k < 4; ++k) {
      const int a = q[k], b = q[(k + 1) % 4];
      if (edgeUse.count({b, a})) continue;  // inner edge of the region
      sides.push_back({a, b, copy[b], copy[a]});
    }
    for (int k = 0; k < 4; ++k) q[k] = copy[q[k]];
  }
  for (const auto& s : sides) m.f.push_back(s);
}

// Rotation about the X axis through a centre, then a move.
Vec BendX(Vec p, Vec centre, double angle, double scale, Vec to) {
  const Vec d = (p - centre) * scale;
  const double c = std::cos(angle), s = std::sin(angle);
  return to + Vec{d.x, d.y * c - d.z * s, d.y * s + d.z * c};
}

QuadMesh CatmullClark(const QuadMesh& m) {
  const int nv = static_cast<int>(m.v.size());
  std::map<std::pair<int, int>, int> edgeIndex;
  std::vector<std::pair<int, int>> edges;
  std::vector<std::vector<int>> edgeFaces;
  auto edgeOf = [&](int a, int b) {
    const auto key = std::minmax(a, b);
    auto it = edgeIndex.find(key);
    if (it != edgeIndex.end()) return it->second;
    edges.push_back(key);
    edgeFaces.emplace_back();
    edgeIndex[key] = static_cast<int>(edges.size()) - 1;
    return static_cast<int>(edges.size()) - 1;
  };
  std::vector<std::array<int, 4>> faceEdges(m.f.size());
  for (std::size_t fi = 0; fi < m.f.size(); ++fi)
    for (int k = 0; k < 4; ++k) {
      const int e = edgeOf(m.f[fi][k], m.f[fi][(k + 1) % 4]);
      faceEdges[fi][k] = e;
      edgeFaces[static_cast<std::size_t>(e)].push_back(static_cast<int>(fi));
    }
  std::vector<Vec> facePts(m.f.size());
  for (std::size_t fi = 0; fi < m.f.size(); ++fi)
    facePts[fi] = FaceCentre(m, {static_cast<int>(fi)});
  std::vector<Vec> edgePts(edges.size());
  for (std::size_t e = 0; e < edges.size(); ++e) {
    if (edgeFaces[e].size() != 2) Fail("cage is not closed");
    edgePts[e] = (m.v[static_cast<std::size_t>(edges[e].first)] +
                  m.v[static_cast<std::size_t>(edges[e].second)] +
                  facePts[static_cast<std::size_t>(edgeFaces[e][0])] +
                  facePts[static_cast<std::size_t>(edgeFaces[e][1])]) *
                 0.25;
  }
  std::vector<Vec> faceSum(static_cast<std::size_t>(nv)), midSum(static_cast<std::size_t>(nv));
  std::vector<int> faceCount(static_cast<std::size_t>(nv)), edgeCount(static_cast<std::size_t>(nv));
  for (std::size_t fi = 0; fi < m.f.size(); ++fi)
    for (int k = 0; k < 4; ++k) {
      const auto a = static_cast<std::size_t>(m.f[fi][k]);
      faceSum[a] = faceSum[a] + facePts[fi];
      ++faceCount[a];
    }
  for (const auto& [a, b] : edges) {
    const Vec mid = (m.v[static_cast<std::size_t>(a)] + m.v[static_cast<std::size_t>(b)]) * 0.5;
    midSum[static_cast<std::size_t>(a)] = midSum[static_cast<std::size_t>(a)] + mid;
    midSum[static_cast<std::size_t>(b)] = midSum[static_cast<std::size_t>(b)] + mid;
    ++edgeCount[static_cast<std::size_t>(a)];
    ++edgeCount[static_cast<std::size_t>(b)];
  }
  QuadMesh r;
  for (int i = 0; i < nv; ++i) {
    const auto s = static_cast<std::size_t>(i);
    const double n = edgeCount[s];
    const Vec F = faceSum[s] * (1.0 / faceCount[s]);
    const Vec R = midSum[s] * (1.0 / n);
    r.v.push_back((F + R * 2.0 + m.v[s] * (n - 3.0)) * (1.0 / n));
  }
  for (const Vec& p : edgePts) r.v.push_back(p);
  for (const Vec& p : facePts) r.v.push_back(p);
  const int ne = static_cast<int>(edges.size());
  for (std::size_t fi = 0; fi < m.f.size(); ++fi) {
    const int fp = nv + ne + static_cast<int>(fi);
    for (int k = 0; k < 4; ++k) {
      const int ek = nv + faceEdges[fi][k];
      const int eprev = nv + faceEdges[fi][(k + 3) % 4];
      r.f.push_back({m.f[fi][k], ek, fp, eprev});
    }
  }
  return r;
}

QuadMesh HandCage() {
  // Palm across X (one column per finger), thin along Y, wrist at -Z, fingers toward +Z.
  QuadMesh m = GridBox({-4.2, -1.2, 0}, {4.2, 1.2, 9}, 4, 1, 2);
  auto facesWhere = [&](auto pred) {
    std::vector<int> out;
    for (std::size_t fi = 0; fi < m.f.size(); ++fi) {
      const Vec c = FaceCentre(m, {static_cast<int>(fi)});
      if (pred(c)) out.push_back(static_cast<int>(fi));
    }
    return out;
  };
  // Wrist: the whole lower end, pulled in.
  {
    const auto faces = facesWhere([](Vec c) { return c.z < 1e-9; });
    const Vec centre = FaceCentre(m, faces);
    Extrude(m, faces, [&](Vec p) {
      const Vec d = p - centre;
      return Vec{centre.x + d.x * 0.72, centre.y + d.y * 0.85 + 0.1, centre.z - 3.2};
    });
  }
  // Fingers: three segments each, bending toward -Y (the palm side), little finger shortest.
  const double lengths[4] = {2.1, 2.6, 2.8, 2.6};  // little .. index, per segment
  const double spread[4] = {-0.35, -0.1, 0.08, 0.22};
  const double tipScale[4] = {0.86, 0.9, 0.9, 0.9};
  std::vector<int> roots;
  for (int col = 0; col < 4; ++col) {
    const double cx = -4.2 + 2.1 * col + 1.05;
    const auto faces =
        facesWhere([&](Vec c) { return std::fabs(c.z - 9) < 1e-9 && std::fabs(c.x - cx) < 1e-6; });
    if (faces.size() != 1) Fail("finger root not found");
    roots.push_back(faces[0]);
  }
  for (int col = 0; col < 4; ++col) {
    const int face = roots[static_cast<std::size_t>(col)];
    double bend = 0;
    for (int seg = 0; seg < 3; ++seg) {
      const Vec centre = FaceCentre(m, {face});
      const double step = lengths[col] * (seg == 0 ? 1.15 : 1.0);
      const double nextBend = bend + (seg == 0 ? 0.18 : 0.32);
      const double mid = (bend + nextBend) / 2;
      const Vec to =
          centre + Vec{spread[col] * (seg + 1) * 0.5, -std::sin(mid) * step, std::cos(mid) * step};
      const double scale = seg == 0 ? 0.97 : tipScale[col] + 0.03 * (2 - seg);
      const double turn = nextBend - bend;
      Extrude(m, {face}, [&](Vec p) { return BendX(p, centre, -turn, scale, to); });
      bend = nextBend;
    }
  }
  // Thumb: out of the index side near the wrist, forward and down.
  {
    const auto faces = facesWhere([](Vec c) { return std::fabs(c.x - 4.2) < 1e-9 && c.z < 4.5; });
    if (faces.size() != 1) Fail("thumb root not found");
    const Vec centre = FaceCentre(m, faces);
    Extrude(m, faces, [&](Vec p) {
      const Vec d = p - centre;
      return Vec{centre.x + 3.4 + d.x * 0.8, centre.y - 2.0 + d.y * 0.85,
                 centre.z + 5.0 + d.z * 0.8};
    });
  }
  if (m.f.size() != 90) Fail("hand cage must have 90 quads");
  return m;
}

// ---------------------------------------------------------------------------------------------
// Output tables.

struct Mesh {
  std::vector<Vec> v, n;
  std::vector<std::array<double, 2>> t;
  std::vector<std::array<int, 9>> tri;  // v0 v1 v2 n0 n1 n2 t0 t1 t2
};

// Centres the vertices, scales Z to -0.5 .. 0.5 and fits X and Y to their half extents.
void Normalise(std::vector<Vec>& v, double halfX, double halfY) {
  Vec lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
  for (const Vec& p : v) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  const Vec c = (lo + hi) * 0.5;
  for (Vec& p : v)
    p = {(p.x - c.x) * 2 * halfX / (hi.x - lo.x), (p.y - c.y) * 2 * halfY / (hi.y - lo.y),
         (p.z - c.z) / (hi.z - lo.z)};
}

std::string F(double x) {
  char buf[48];
  const float f = static_cast<float>(x);
  std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(f == 0.0f ? 0.0f : f));
  return buf;
}

void WriteTables(const char* path, const char* header, const char* prefix, const Mesh& m,
                 bool texcoords) {
  FILE* out = std::fopen(path, "w");
  if (!out) Fail(std::string("cannot write ") + path);
  std::fprintf(out, "// Generated by tools/meshes/MeshGen; do not edit.\n#include \"%s\"\n\n",
               header);
  std::fprintf(out, "const float %sVertices[%zu][3] = {\n", prefix, m.v.size());
  for (const Vec& p : m.v)
    std::fprintf(out, "{%s,%s,%s},\n", F(p.x).c_str(), F(p.y).c_str(), F(p.z).c_str());
  std::fprintf(out, "};\nconst float %sNormals[%zu][3] = {\n", prefix, m.n.size());
  for (const Vec& p : m.n)
    std::fprintf(out, "{%s,%s,%s},\n", F(p.x).c_str(), F(p.y).c_str(), F(p.z).c_str());
  std::fprintf(out, "};\n");
  if (texcoords) {
    std::fprintf(out, "const float %sTexCoords[%zu][2] = {\n", prefix, m.t.size());
    for (const auto& t : m.t) std::fprintf(out, "{%s,%s},\n", F(t[0]).c_str(), F(t[1]).c_str());
    std::fprintf(out, "};\n");
  }
  const int width = texcoords ? 9 : 6;
  std::fprintf(out, "const int16_t %sTriangles[%zu][%d] = {\n", prefix, m.tri.size(), width);
  for (const auto& t : m.tri) {
    std::fprintf(out, "{");
    for (int k = 0; k < width; ++k) std::fprintf(out, k ? ",%d" : "%d", t[k]);
    std::fprintf(out, "},\n");
  }
  std::fprintf(out, "};\n");
  if (std::fclose(out) != 0) Fail(std::string("cannot write ") + path);
}

Mesh BuildHand() {
  QuadMesh q = HandCage();
  for (int i = 0; i < 3; ++i) q = CatmullClark(q);
  if (q.v.size() != 5762 || q.f.size() != 5760) Fail("hand counts");
  Normalise(q.v, 0.263569, 0.184064);
  Mesh m;
  m.v = q.v;
  // Smooth normals: area-weighted face normals summed per vertex.
  std::vector<Vec> acc(q.v.size());
  std::vector<Vec> faceNormal(q.f.size());
  for (std::size_t fi = 0; fi < q.f.size(); ++fi) {
    const auto& f = q.f[fi];
    const Vec a = q.v[static_cast<std::size_t>(f[0])], b = q.v[static_cast<std::size_t>(f[1])],
              c = q.v[static_cast<std::size_t>(f[2])], d = q.v[static_cast<std::size_t>(f[3])];
    const Vec nrm = Cross(c - a, d - b);
    faceNormal[fi] = Unit(nrm);
    for (int k = 0; k < 4; ++k)
      acc[static_cast<std::size_t>(f[k])] = acc[static_cast<std::size_t>(f[k])] + nrm;
  }
  for (const Vec& a : acc) m.n.push_back(Unit(a));
  // Texture: the back of the hand on the left half, the palm on the right half, both mapped
  // from X and Z; vertices on the border between the halves get one coordinate per half.
  std::vector<int> half(q.f.size());
  for (std::size_t fi = 0; fi < q.f.size(); ++fi) half[fi] = faceNormal[fi].y >= 0 ? 0 : 1;
  std::map<std::pair<int, int>, int> texIndex;
  auto texOf = [&](int vi, int h) {
    const auto key = std::make_pair(vi, h);
    auto it = texIndex.find(key);
    if (it != texIndex.end()) return it->second;
    const Vec p = q.v[static_cast<std::size_t>(vi)];
    const double u = (p.x / 0.263569 * 0.5 + 0.5) * 0.5 + 0.5 * h;
    const double v = p.z + 0.5;
    m.t.push_back({u, v});
    texIndex[key] = static_cast<int>(m.t.size()) - 1;
    return static_cast<int>(m.t.size()) - 1;
  };
  // Each quad's first texture corner fixes the half its triangles use.
  std::vector<std::array<int, 4>> faceTex(q.f.size());
  for (std::size_t fi = 0; fi < q.f.size(); ++fi)
    for (int k = 0; k < 4; ++k) faceTex[fi][k] = texOf(q.f[fi][k], half[fi]);
  if (m.t.size() > 7290) Fail("hand has too many texture coordinates");
  std::vector<int> uses(m.t.size());
  for (const auto& ft : faceTex)
    for (int k = 0; k < 4; ++k) ++uses[static_cast<std::size_t>(ft[k])];
  // A corner that takes a coordinate of its own: a second copy of the one it had, as long as
  // other corners still use the first.
  auto ownCoordinate = [&](std::size_t fi, int k) {
    const auto orig = static_cast<std::size_t>(faceTex[fi][k]);
    if (uses[orig] < 2) return;
    --uses[orig];
    m.t.push_back(m.t[orig]);
    uses.push_back(1);
    faceTex[fi][k] = static_cast<int>(m.t.size()) - 1;
  };
  // The wrist end takes a normal of its own per corner at its lowest vertices, as the cut of
  // the arm is shaded on its own. That corner takes its own texture coordinate too, so the
  // corner stays one vertex-normal-coordinate combination that no other corner shares.
  std::vector<int> order(q.v.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return q.v[static_cast<std::size_t>(a)].z < q.v[static_cast<std::size_t>(b)].z;
  });
  std::map<int, int> wristNormal;
  for (int i = 0; i < 139; ++i) {
    m.n.push_back(m.n[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])]);
    wristNormal[order[static_cast<std::size_t>(i)]] = static_cast<int>(m.n.size()) - 1;
  }
  std::vector<std::array<int, 4>> faceNormals(q.f.size());
  std::vector<std::array<bool, 4>> ownCorner(q.f.size());
  std::map<int, bool> wristUsed;
  for (std::size_t fi = 0; fi < q.f.size(); ++fi)
    for (int k = 0; k < 4; ++k) {
      const int vi = q.f[fi][k];
      faceNormals[fi][k] = vi;
      ownCorner[fi][k] = false;
      auto it = wristNormal.find(vi);
      if (it != wristNormal.end() && !wristUsed[vi]) {
        faceNormals[fi][k] = it->second;
        wristUsed[vi] = true;
        ownCorner[fi][k] = true;
        ownCoordinate(fi, k);
      }
    }
  // Fill up to the table size with second copies of palm-half coordinates, taken by corners
  // whose coordinate other corners still use, so that every entry stays in use.
  for (std::size_t fi = 0; fi < q.f.size() && m.t.size() < 7290; ++fi)
    for (int k = 0; k < 4 && m.t.size() < 7290; ++k)
      if (half[fi] == 1 && !ownCorner[fi][k]) ownCoordinate(fi, k);
  if (m.t.size() != 7290) Fail("hand texture coordinates");
  for (std::size_t fi = 0; fi < q.f.size(); ++fi) {
    const auto& f = q.f[fi];
    const auto& t = faceTex[fi];
    const auto& nidx = faceNormals[fi];
    m.tri.push_back({f[0], f[1], f[2], nidx[0], nidx[1], nidx[2], t[0], t[1], t[2]});
    m.tri.push_back({f[0], f[2], f[3], nidx[0], nidx[2], nidx[3], t[0], t[2], t[3]});
  }
  if (m.n.size() != 5901) Fail("hand normals");
  // Texture coordinates fill the image's used area.
  double u0 = 1e30, u1 = -1e30, v0 = 1e30, v1 = -1e30;
  for (const auto& t : m.t) {
    u0 = std::min(u0, t[0]), u1 = std::max(u1, t[0]);
    v0 = std::min(v0, t[1]), v1 = std::max(v1, t[1]);
  }
  for (auto& t : m.t) {
    t[0] = 0.001953 + (t[0] - u0) / (u1 - u0) * (0.994141 - 0.001953);
    t[1] = 0.001953 + (t[1] - v0) / (v1 - v0) * (0.894531 - 0.001953);
  }
  return m;
}

// ---------------------------------------------------------------------------------------------
// Robot: closed parts, each a set of grids welded by position.

struct Part {
  std::vector<Vec> v, n;
  std::vector<std::array<int, 6>> tri;
};

// Grid patches: rows x cols points with a normal each; points at equal positions are welded
// (seams, poles, box edges), normals only within a patch.
struct Builder {
  Part part;
  std::map<std::tuple<long long, long long, long long>, int> weld;

  int Vertex(Vec p) {
    const auto key =
        std::make_tuple(std::llround(p.x * 1e6), std::llround(p.y * 1e6), std::llround(p.z * 1e6));
    auto it = weld.find(key);
    if (it != weld.end()) return it->second;
    part.v.push_back(p);
    weld[key] = static_cast<int>(part.v.size()) - 1;
    return static_cast<int>(part.v.size()) - 1;
  }

  template <class Fn>
  void Patch(int rows, int cols, Fn At) {
    std::vector<int> vi(static_cast<std::size_t>((rows + 1) * (cols + 1)));
    std::vector<int> ni(vi.size());
    std::map<int, int> normalOf;
    std::vector<Vec> pos(vi.size()), nrm(vi.size());
    for (int r = 0; r <= rows; ++r)
      for (int c = 0; c <= cols; ++c) {
        const auto k = static_cast<std::size_t>(r * (cols + 1) + c);
        At(r, c, pos[k], nrm[k]);
        vi[k] = Vertex(pos[k]);
        auto it = normalOf.find(vi[k]);
        if (it == normalOf.end()) {
          part.n.push_back(Unit(nrm[k]));
          normalOf[vi[k]] = static_cast<int>(part.n.size()) - 1;
        }
        ni[k] = normalOf[vi[k]];
      }
    // Orientation: triangles turn counter-clockwise around their outward normals.
    double facing = 0;
    std::vector<std::array<std::size_t, 3>> tris;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) {
        const auto a = static_cast<std::size_t>(r * (cols + 1) + c), b = a + 1,
                   d = a + static_cast<std::size_t>(cols + 1), e = d + 1;
        for (const auto& t : {std::array<std::size_t, 3>{a, b, e}, {a, e, d}}) {
          if (vi[t[0]] == vi[t[1]] || vi[t[1]] == vi[t[2]] || vi[t[0]] == vi[t[2]]) continue;
          tris.push_back(t);
          const Vec fn = Cross(pos[t[1]] - pos[t[0]], pos[t[2]] - pos[t[0]]);
          facing += Dot(fn, nrm[t[0]] + nrm[t[1]] + nrm[t[2]]);
        }
      }
    for (auto t : tris) {
      if (facing < 0) std::swap(t[1], t[2]);
      part.tri.push_back({vi[t[0]], vi[t[1]], vi[t[2]], ni[t[0]], ni[t[1]], ni[t[2]]});
    }
  }
};

Part Box(Vec c, Vec h, int a, int b, int cc) {
  Builder bd;
  const int seg[3] = {a, b, cc};
  const double half[3] = {h.x, h.y, h.z};
  const double centre[3] = {c.x, c.y, c.z};
  for (int axis = 0; axis < 3; ++axis)
    for (int s = -1; s <= 1; s += 2) {
      const int u = (axis + 1) % 3, w = (axis + 2) % 3;
      bd.Patch(seg[u], seg[w], [&](int r, int col, Vec& p, Vec& n) {
        double q[3], nn[3] = {0, 0, 0};
        q[axis] = centre[axis] + s * half[axis];
        q[u] = centre[u] - half[u] + 2 * half[u] * r / seg[u];
        q[w] = centre[w] - half[w] + 2 * half[w] * col / seg[w];
        nn[axis] = s;
        p = {q[0], q[1], q[2]};
        n = {nn[0], nn[1], nn[2]};
      });
    }
  return bd.part;
}

// Smooth sides, flat caps with a centre point.
Part Cylinder(Vec p0, Vec p1, double radius, int sides, int rings) {
  Builder bd;
  const Vec axis = Unit(p1 - p0);
  const Vec helper = std::fabs(axis.z) < 0.9 ? Vec{0, 0, 1} : Vec{1, 0, 0};
  const Vec u = Unit(Cross(axis, helper)), w = Cross(axis, u);
  auto around = [&](int c) {
    const double a = 2 * M_PI * (c % sides) / sides;
    return u * std::cos(a) + w * std::sin(a);
  };
  bd.Patch(rings, sides, [&](int r, int c, Vec& p, Vec& n) {
    n = around(c);
    p = p0 + (p1 - p0) * (static_cast<double>(r) / rings) + n * radius;
  });
  for (int end = 0; end < 2; ++end)
    bd.Patch(1, sides, [&](int r, int c, Vec& p, Vec& n) {
      n = end ? axis : axis * -1.0;
      p = (end ? p1 : p0) + around(c) * (radius * r);
    });
  return bd.part;
}

// Flat sides (one normal per side face), flat caps: a machined limb.
Part Prism(Vec p0, Vec p1, double radius, int sides, int rings) {
  Builder bd;
  const Vec axis = Unit(p1 - p0);
  const Vec helper = std::fabs(axis.z) < 0.9 ? Vec{0, 0, 1} : Vec{1, 0, 0};
  const Vec u = Unit(Cross(axis, helper)), w = Cross(axis, u);
  auto around = [&](double c) {
    const double a = 2 * M_PI * c / sides;
    return u * std::cos(a) + w * std::sin(a);
  };
  for (int side = 0; side < sides; ++side)
    bd.Patch(rings, 1, [&](int r, int c, Vec& p, Vec& n) {
      n = around(side + 0.5);
      p = p0 + (p1 - p0) * (static_cast<double>(r) / rings) + around((side + c) % sides) * radius;
    });
  for (int end = 0; end < 2; ++end)
    bd.Patch(1, sides, [&](int r, int c, Vec& p, Vec& n) {
      n = end ? axis : axis * -1.0;
      p = (end ? p1 : p0) + around(c % sides) * (radius * r);
    });
  return bd.part;
}

Part Sphere(Vec c, Vec radii, int slices, int rings) {
  Builder bd;
  bd.Patch(rings, slices, [&](int r, int s, Vec& p, Vec& n) {
    const double th = M_PI * r / rings, ph = 2 * M_PI * (s % slices) / slices;
    const Vec d{std::sin(th) * std::cos(ph), std::sin(th) * std::sin(ph), -std::cos(th)};
    const Vec q{d.x * radii.x, d.y * radii.y, d.z * radii.z};
    p = c + q;
    n = (r == 0 || r == rings) ? Vec{0, 0, d.z} : Vec{d.x / radii.x, d.y / radii.y, d.z / radii.z};
  });
  return bd.part;
}

// Part sizes that keep the robot's totals.
struct RobotParams {
  int torso[3], head[3], limbSides, limbRings, jointSlices, jointRings;
};

std::vector<Part> RobotParts(const RobotParams& rp) {
  std::vector<Part> parts;
  auto add = [&](Part p) { parts.push_back(std::move(p)); };
  // Z up, front toward -Y; feet at z = -10, antenna ball at z = 10.
  add(Box({0, 0, 3.4}, {3.1, 1.8, 3.1}, rp.torso[0], rp.torso[1], rp.torso[2]));  // torso
  add(Box({0, 0, -0.6}, {2.4, 1.5, 0.9}, 3, 2, 2));                               // pelvis
  add(Cylinder({0, 0, 6.4}, {0, 0, 7.3}, 0.9, 12, 1));                            // neck
  add(Box({0, 0, 8.3}, {2.0, 1.7, 1.1}, rp.head[0], rp.head[1], rp.head[2]));     // head
  add(Prism({0, 0, 9.4}, {0, 0, 9.75}, 0.12, 5, 2));                              // antenna
  add(Sphere({0, 0, 9.75}, {0.25, 0.25, 0.25}, 8, 5));                            // tip
  for (int s = -1; s <= 1; s += 2) {
    const double x = s;
    add(Sphere({0.8 * x, -1.72, 8.6}, {0.38, 0.2, 0.38}, 10, 6));                        // eye
    add(Cylinder({2.0 * x, 0, 8.3}, {2.45 * x, 0, 8.3}, 0.55, 10, 1));                   // ear
    add(Sphere({3.75 * x, 0, 5.8}, {0.95, 0.95, 0.95}, rp.jointSlices, rp.jointRings));  // shoulder
    add(Prism({3.9 * x, 0, 5.6}, {5.9 * x, 0, 2.6}, 0.62, rp.limbSides, rp.limbRings));  // arm
    add(Sphere({5.95 * x, 0, 2.5}, {0.7, 0.7, 0.7}, rp.jointSlices, rp.jointRings));     // elbow
    add(Prism({6.0 * x, 0, 2.4}, {7.3 * x, 0, -0.9}, 0.55, rp.limbSides, rp.limbRings));
    add(Cylinder({7.3 * x, 0, -0.9}, {7.45 * x, 0, -1.3}, 0.7, 10, 1));  // wrist
    add(Box({7.55 * x, 0, -1.9}, {0.55, 0.75, 0.6}, 2, 2, 2));           // hand
    for (int k = -1; k <= 1; ++k)                                        // claws
      add(Box({(7.55 + 0.28 * k) * x, -0.45 * k, -2.85}, {0.16, 0.16, 0.4}, 1, 1, 2));
    add(Sphere({1.3 * x, 0, -1.6}, {0.75, 0.75, 0.75}, rp.jointSlices, rp.jointRings));  // hip
    add(Prism({1.35 * x, 0, -1.8}, {1.5 * x, 0, -5.2}, 0.75, rp.limbSides, rp.limbRings));
    add(Sphere({1.5 * x, 0, -5.4}, {0.8, 0.8, 0.8}, rp.jointSlices, rp.jointRings));  // knee
    add(Box({1.55 * x, 0, -7.6}, {0.7, 0.7, 1.9}, 2, 2, 4));                          // shin
    add(Cylinder({1.55 * x, 0, -9.45}, {1.55 * x, 0, -9.7}, 0.6, 10, 1));             // ankle
    add(Box({1.6 * x, -1.3, -9.85}, {0.9, 2.8, 0.15}, 2, 4, 1));                      // foot
  }
  add(Box({0, -1.85, 3.9}, {2.0, 0.08, 1.6}, 4, 1, 3));   // chest panel
  add(Box({0, 2.3, 3.6}, {2.2, 0.5, 2.4}, 4, 2, 4));      // back pack
  add(Box({0, 0, 0.4}, {2.9, 1.65, 0.25}, 6, 3, 1));      // belt
  add(Sphere({0, -1.95, 5.0}, {0.3, 0.15, 0.3}, 10, 6));  // chest lamp
  for (int k = 0; k < 6; ++k)                             // buttons
    add(Cylinder({-1.25 + 0.5 * k, -1.93, 2.8}, {-1.25 + 0.5 * k, -2.05, 2.8}, 0.17, 8, 1));
  for (int k = 0; k < 6; ++k)  // belly vents
    add(Box({0, -1.82, 1.9 - 0.28 * k}, {1.4, 0.05, 0.07}, 2, 1, 1));
  for (int k = 0; k < 5; ++k)  // mouth grill
    add(Box({-0.8 + 0.4 * k, -1.74, 7.6}, {0.08, 0.05, 0.3}, 1, 1, 1));
  // Rivets along the torso's front and back edges, the head, thighs, shins and feet.
  auto rivet = [&](Vec c) { add(Box(c, {0.1, 0.1, 0.1}, 1, 1, 1)); };
  for (int side = -1; side <= 1; side += 2)
    for (int k = 0; k < 8; ++k) {
      rivet({-2.8 + 0.8 * k, 1.9 * side, 6.25});
      rivet({-2.8 + 0.8 * k, 1.9 * side, 0.55});
    }
  for (int k = 0; k < 6; ++k) rivet({-1.75 + 0.7 * k, -1.8, 9.25});
  for (int s = -1; s <= 1; s += 2)
    for (int k = 0; k < 4; ++k) rivet({2.1 * s, -1.2 + 0.8 * k, 9.25});
  for (int s = -1; s <= 1; s += 2) {
    for (int k = 0; k < 6; ++k) rivet({1.55 * s + (k % 2 ? 0.4 : -0.4), -0.8, -6.0 - 0.6 * k});
    for (int k = 0; k < 4; ++k) rivet({1.45 * s, -0.8, -2.6 - 0.7 * k});
    for (int k = 0; k < 5; ++k) rivet({1.6 * s, -3.9 + 0.75 * k, -9.6});
  }
  return parts;
}

Mesh BuildRobot() {
  RobotParams base{{2, 2, 2}, {2, 2, 2}, 16, 1, 12, 8};
  // Counts of a part kind; the search keeps all other parts as they are.
  auto boxV = [](const int* s) { return 2 * (s[0] * s[1] + s[1] * s[2] + s[2] * s[0]) + 2; };
  auto boxN = [&](const int* s) { return boxV(s) + 4 * (s[0] + s[1] + s[2]) + 4; };
  auto totals = [](const std::vector<Part>& ps) {
    std::size_t v = 0, n = 0;
    for (const auto& p : ps) v += p.v.size(), n += p.n.size();
    return std::make_pair(v, n);
  };
  const auto [v0, n0] = totals(RobotParts(base));
  const long baseV = static_cast<long>(v0), baseN = static_cast<long>(n0);
  // Fixed part of the totals, without the torso, the head and the ten limbs and joints.
  auto limbV = [](int ls, int lr) { return 6L * (ls * (lr + 1) + 2); };
  auto limbN = [](int ls, int lr) { return 6L * (2 * ls * (lr + 1) + 2 * (ls + 1)); };
  auto jointV = [](int js, int jr) { return 8L * (js * (jr - 1) + 2); };
  const long restV = baseV - boxV(base.torso) - boxV(base.head) -
                     limbV(base.limbSides, base.limbRings) -
                     jointV(base.jointSlices, base.jointRings);
  const long restN = baseN - boxN(base.torso) - boxN(base.head) -
                     limbN(base.limbSides, base.limbRings) -
                     jointV(base.jointSlices, base.jointRings);
  // Head sizes by their counts.
  std::map<std::pair<long, long>, std::array<int, 3>> heads;
  for (int d = 2; d <= 10; ++d)
    for (int e = 2; e <= 10; ++e)
      for (int f = 2; f <= 8; ++f) {
        const int h[3] = {d, e, f};
        heads.emplace(std::make_pair(long{boxV(h)}, long{boxN(h)}), std::array<int, 3>{d, e, f});
      }
  RobotParams best = base;
  long bestScore = 1L << 40;
  for (int ls = 6; ls <= 16; ++ls)
    for (int lr = 1; lr <= 16; ++lr)
      for (int js = 10; js <= 24; js += 2)
        for (int jr = 6; jr <= 16; ++jr) {
          const long needV = 5849 - restV - limbV(ls, lr) - jointV(js, jr);
          const long needN = 9034 - restN - limbN(ls, lr) - jointV(js, jr);
          if (needV <= 0) continue;
          for (int a = 2; a <= 18; ++a)
            for (int b = 2; b <= 10; ++b)
              for (int c = 2; c <= 18; ++c) {
                const int t[3] = {a, b, c};
                auto it = heads.find({needV - boxV(t), needN - boxN(t)});
                if (it == heads.end()) continue;
                // Prefer limbs and joints of even density and square torso cells.
                const long score = std::labs(ls - 8) * 3 + std::labs(a - c) + std::labs(b * 2 - a) +
                                   std::labs(js - 2 * jr);
                if (score < bestScore) {
                  bestScore = score;
                  const auto& h = it->second;
                  best = {{a, b, c}, {h[0], h[1], h[2]}, ls, lr, js, jr};
                }
              }
        }
  if (bestScore == (1L << 40)) Fail("no robot part sizes give the totals");
  std::fprintf(stderr, "robot sizes: torso %d %d %d head %d %d %d limbs %d/%d joints %d/%d\n",
               best.torso[0], best.torso[1], best.torso[2], best.head[0], best.head[1],
               best.head[2], best.limbSides, best.limbRings, best.jointSlices, best.jointRings);
  const std::vector<Part> parts = RobotParts(best);
  if (parts.size() != 137) Fail("robot must have 137 parts, has " + std::to_string(parts.size()));
  Mesh m;
  for (const Part& p : parts) {
    const int vb = static_cast<int>(m.v.size()), nb = static_cast<int>(m.n.size());
    for (const Vec& x : p.v) m.v.push_back(x);
    for (const Vec& x : p.n) m.n.push_back(x);
    for (const auto& t : p.tri)
      m.tri.push_back({t[0] + vb, t[1] + vb, t[2] + vb, t[3] + nb, t[4] + nb, t[5] + nb, 0, 0, 0});
  }
  std::fprintf(stderr, "robot: %zu vertices, %zu normals, %zu triangles\n", m.v.size(), m.n.size(),
               m.tri.size());
  if (m.v.size() != 5849 || m.n.size() != 9034 || m.tri.size() != 11150) Fail("robot counts");
  // Normals follow the fit to the X and Y extents (a scale per axis).
  Vec lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
  for (const Vec& p : m.v) {
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
  }
  const Vec scale{2 * 0.413396 / (hi.x - lo.x), 2 * 0.205624 / (hi.y - lo.y), 1 / (hi.z - lo.z)};
  for (Vec& n : m.n) n = Unit({n.x / scale.x, n.y / scale.y, n.z / scale.z});
  Normalise(m.v, 0.413396, 0.205624);
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) Fail("usage: MeshGen <hand.cpp> <robot.cpp>");
  const Mesh hand = BuildHand();
  WriteTables(argv[1], "HandModel.h", "Hand", hand, true);
  const Mesh robot = BuildRobot();
  WriteTables(argv[2], "RobotModel.h", "Robot", robot, false);
  return 0;
}
