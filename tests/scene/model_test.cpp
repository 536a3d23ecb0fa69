// The built-in model's tables, as compiled into the program: the layout that
// the display-list compiler relies on, the published rows and the shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "flyer_model.h"

namespace {

using Vec = std::array<double, 3>;

Vec Position(int i) { return {MeshPositions[i][0], MeshPositions[i][1], MeshPositions[i][2]}; }
Vec Normal(int i) { return {MeshNormals[i][0], MeshNormals[i][1], MeshNormals[i][2]}; }
Vec Sub(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec Cross(const Vec& a, const Vec& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

struct Range {
    double lo = 1e9, hi = -1e9;
    void Add(double v) { lo = std::min(lo, v); hi = std::max(hi, v); }
};

// How many triangles share each edge, by its two positions in order.
std::map<std::pair<int, int>, int> Edges()
{
    std::map<std::pair<int, int>, int> edges;
    for (const MeshTriangle& t : MeshTriangles)
        for (int c = 0; c < 3; ++c) {
            const int a = t.position[c], b = t.position[(c + 1) % 3];
            ++edges[{std::min(a, b), std::max(a, b)}];
        }
    return edges;
}

std::set<int> PositionsOfMaterial(int material)
{
    std::set<int> used;
    int first = 0;
    for (const MaterialGroup& g : MeshGroups) {
        if (g.material == material)
            for (int t = first; t < first + g.count; ++t)
                for (int c = 0; c < 3; ++c) used.insert(MeshTriangles[t].position[c]);
        first += g.count;
    }
    return used;
}

TEST(ModelTest, MaterialsAndGroupsAreThePublishedOnes)
{
    struct Want {
        float ambient[3], diffuse[3], specular[3], emission[3], alpha, shininess;
    };
    const Want want[2] = {
        {{0.036f, 0.025f, 0.02f}, {0.36f, 0.25f, 0.2f}, {0.2f, 0.2f, 0.2f}, {0, 0, 0}, 1.0f, 25.6f},
        {{0.1f, 0.1f, 0.0f}, {1.0f, 1.0f, 0.0f}, {0.2f, 0.2f, 0.2f}, {0, 0, 0}, 1.0f, 25.6f},
    };
    static_assert(sizeof(MeshMaterial) == 15 * 4, "fifteen 4-byte fields");
    static_assert(sizeof(MeshTriangle) == 9 * 2, "nine 16-bit indices");
    for (int m = 0; m < 2; ++m) {
        // Fourteen floats in this order, then -1 in the unused field.
        EXPECT_EQ(std::memcmp(&MeshMaterials[m], &want[m], sizeof want[m]), 0) << "material " << m;
        EXPECT_EQ(MeshMaterials[m].unused, -1);
    }
    EXPECT_EQ(MeshGroups[0].material, 0);
    EXPECT_EQ(MeshGroups[0].count, 192);
    EXPECT_EQ(MeshGroups[1].material, 1);
    EXPECT_EQ(MeshGroups[1].count, 320);
}

TEST(ModelTest, TellingRowsAreExact)
{
    struct Row {
        int triangle;
        int p[3], n[3], t[3];
    };
    const Row rows[] = {
        {0, {2, 1, 0}, {0, 1, 2}, {0, 1, 2}},
        {1, {2, 0, 3}, {0, 2, 3}, {0, 2, 3}},
        {511, {271, 82, 111}, {417, 419, 441}, {289, 291, 305}},
    };
    for (const Row& row : rows) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(MeshTriangles[row.triangle].position[c], row.p[c]) << row.triangle;
            EXPECT_EQ(MeshTriangles[row.triangle].normal[c], row.n[c]) << row.triangle;
            EXPECT_EQ(MeshTriangles[row.triangle].texcoord[c], row.t[c]) << row.triangle;
        }
    }
    const float vertex0[3] = {-0.461123f, 0.125012f, -0.00782693f};
    const float normal0[3] = {0.00739077f, -0.0306443f, -0.999503f};
    const float texcoord0[2] = {0.023316f, 0.168516f};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(MeshPositions[0][i], vertex0[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(MeshNormals[0][i], normal0[i]);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(MeshTexCoords[0][i], texcoord0[i]);
}

TEST(ModelTest, IndicesAreInRangeAndEveryRowIsUsed)
{
    const int counts[3] = {MESH_POSITION_COUNT, MESH_NORMAL_COUNT, MESH_TEXCOORD_COUNT};
    std::vector<int> uses[3] = {std::vector<int>(counts[0]), std::vector<int>(counts[1]), std::vector<int>(counts[2])};
    for (const MeshTriangle& t : MeshTriangles) {
        const int16_t* indices[3] = {t.position, t.normal, t.texcoord};
        for (int table = 0; table < 3; ++table)
            for (int c = 0; c < 3; ++c) {
                ASSERT_TRUE(indices[table][c] >= 0 && indices[table][c] < counts[table]) << "table " << table;
                ++uses[table][indices[table][c]];
            }
    }
    for (int table = 0; table < 3; ++table) EXPECT_EQ(std::count(uses[table].begin(), uses[table].end(), 0), 0);
}

// No duplicate positions, no degenerate triangles, unit normals, and every
// corner's normal on the counter-clockwise side of its triangle.
TEST(ModelTest, TrianglesAreSoundAndFaceTheirNormals)
{
    std::set<std::array<float, 3>> seen;
    for (const auto& p : MeshPositions) seen.insert({p[0], p[1], p[2]});
    EXPECT_EQ(seen.size(), size_t(MESH_POSITION_COUNT));
    for (int i = 0; i < MESH_NORMAL_COUNT; ++i) EXPECT_NEAR(std::sqrt(Dot(Normal(i), Normal(i))), 1.0, 1e-5) << i;
    for (int t = 0; t < MESH_TRIANGLE_COUNT; ++t) {
        const MeshTriangle& tri = MeshTriangles[t];
        const Vec a = Position(tri.position[0]), b = Position(tri.position[1]), c = Position(tri.position[2]);
        const Vec facet = Cross(Sub(b, a), Sub(c, a));
        EXPECT_GT(std::sqrt(Dot(facet, facet)), 1e-8) << "triangle " << t;
        for (int k = 0; k < 3; ++k) EXPECT_GT(Dot(facet, Normal(tri.normal[k])), 0.0) << "triangle " << t;
    }
    for (const auto& uv : MeshTexCoords) {
        EXPECT_TRUE(uv[0] >= 0.0f && uv[0] <= 1.0f) << uv[0];
        EXPECT_TRUE(uv[1] >= 0.0f && uv[1] <= 1.2f) << uv[1];
    }
}

// An open tube: every inner edge joins two triangles that walk it in opposite
// directions (consistent winding); the 32 rim edges close into one loop at
// each end.
TEST(ModelTest, SurfaceIsATubeOpenAtBothEnds)
{
    std::map<std::pair<int, int>, int> directed;
    for (const MeshTriangle& t : MeshTriangles)
        for (int c = 0; c < 3; ++c) ++directed[{t.position[c], t.position[(c + 1) % 3]}];
    for (const auto& [e, n] : directed) EXPECT_EQ(n, 1) << "edge " << e.first << "-" << e.second << " walked twice";
    const std::map<std::pair<int, int>, int> edges = Edges();
    EXPECT_EQ(edges.size(), 784u);
    std::vector<std::pair<int, int>> rim;
    int shared = 0;
    for (const auto& [e, n] : edges) {
        if (n == 2) ++shared;
        if (n == 1) rim.push_back(e);
        EXPECT_LE(n, 2);
    }
    EXPECT_EQ(shared, 752);
    ASSERT_EQ(rim.size(), 32u);
    // Split the rim into its loops by connectivity.
    std::map<int, std::vector<int>> next;
    for (const auto& [a, b] : rim) {
        next[a].push_back(b);
        next[b].push_back(a);
    }
    std::set<int> visited;
    std::vector<Range> loop_x;
    for (const auto& [start, _] : next) {
        if (visited.count(start)) continue;
        Range x;
        std::vector<int> stack{start};
        int size = 0;
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            if (!visited.insert(v).second) continue;
            ++size;
            x.Add(Position(v)[0]);
            EXPECT_EQ(next[v].size(), 2u);
            for (int w : next[v]) stack.push_back(w);
        }
        EXPECT_EQ(size, 16);
        loop_x.push_back(x);
    }
    ASSERT_EQ(loop_x.size(), 2u);
    std::sort(loop_x.begin(), loop_x.end(), [](const Range& a, const Range& b) { return a.lo < b.lo; });
    EXPECT_NEAR(loop_x[0].lo, -0.5, 1e-6);
    EXPECT_NEAR(loop_x[1].hi, 0.5, 1e-6);
}

TEST(ModelTest, MaterialsCoverTheEndsAndTheMiddle)
{
    const std::set<int> dark = PositionsOfMaterial(0), bright = PositionsOfMaterial(1);
    EXPECT_EQ(dark.size(), 128u);
    EXPECT_EQ(bright.size(), 176u);
    Range dark_x, bright_x;
    for (int i : dark) dark_x.Add(Position(i)[0]);
    for (int i : bright) bright_x.Add(Position(i)[0]);
    EXPECT_NEAR(dark_x.lo, -0.5, 1e-6);
    EXPECT_NEAR(dark_x.hi, 0.5, 1e-6);
    EXPECT_NEAR(bright_x.lo, -0.391, 0.002);
    EXPECT_NEAR(bright_x.hi, 0.492, 0.002);
    // The rims belong to the dark ends only.
    for (const auto& [e, n] : Edges())
        if (n == 1) {
            EXPECT_TRUE(dark.count(e.first) && !bright.count(e.first)) << e.first;
        }
}

TEST(ModelTest, ShapeIsALongCurvedTaperingBody)
{
    struct Slice {
        const char* where;
        double x_lo, x_hi;
        double y_lo, y_hi, z_lo, z_hi;
    };
    // Bounds of the whole body, of the thickest ring and of the flower tip.
    const Slice slices[] = {
        {"whole", -1.0, 1.0, -0.141, 0.141, -0.110, 0.110},
        {"middle", -0.01, 0.01, -0.141, 0.039, -0.110, 0.110},
        {"tip", -0.5, -0.49, 0.093, 0.141, -0.008, 0.016},
    };
    const double tolerance = 0.003;
    for (const Slice& s : slices) {
        Range y, z;
        for (int i = 0; i < MESH_POSITION_COUNT; ++i) {
            const Vec p = Position(i);
            if (p[0] < s.x_lo || p[0] > s.x_hi) continue;
            y.Add(p[1]);
            z.Add(p[2]);
        }
        EXPECT_NEAR(y.lo, s.y_lo, tolerance) << s.where;
        EXPECT_NEAR(y.hi, s.y_hi, tolerance) << s.where;
        EXPECT_NEAR(z.lo, s.z_lo, tolerance) << s.where;
        EXPECT_NEAR(z.hi, s.z_hi, tolerance) << s.where;
    }
}

}  // namespace
