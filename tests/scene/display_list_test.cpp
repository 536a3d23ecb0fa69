// The model's display list, read back from a recording of the GL commands
// that compile it, and the drawing of one flyer.
#include <gtest/gtest.h>

#include <vector>

#include "flyer.h"
#include "flyer_model.h"
#include "platform/gl.h"
#include "support/gl_recorder.h"

namespace {

class DisplayListTest : public testing::Test {
protected:
    void SetUp() override
    {
        RecordedGlCalls.clear();
        NextListName = 7;
        CFlyer::DisplayListId = 0;
    }
    void TearDown() override { CFlyer::DisplayListId = 0; }
};

// The material in effect while each triangle was recorded, by diffuse colour,
// together with what the recording says about its structure.
struct Reading {
    int normals = 0, texcoords = 0, vertices = 0;
    std::vector<int> batch_sizes;  // vertices between each glBegin and glEnd
    std::vector<std::vector<GlCall>> switches;  // material calls between End and Begin
    std::vector<int> material_of_triangle;
    bool triples_in_order = true;
};

int MaterialByDiffuse(const std::vector<float>& rgba)
{
    for (int m = 0; m < MESH_MATERIAL_COUNT; ++m)
        if (rgba[0] == MeshMaterials[m].diffuse[0] && rgba[1] == MeshMaterials[m].diffuse[1] &&
            rgba[2] == MeshMaterials[m].diffuse[2])
            return m;
    return -1;
}

Reading Read(const std::vector<GlCall>& calls)
{
    Reading r;
    int material = -1;
    int in_batch = -1;
    std::vector<GlCall> pending;
    std::string expected = "glNormal3f";
    for (const GlCall& call : calls) {
        if (call.name == "glBegin") {
            if (!pending.empty()) r.switches.push_back(pending);
            pending.clear();
            in_batch = 0;
        } else if (call.name == "glEnd") {
            r.batch_sizes.push_back(in_batch);
            in_batch = -1;
        } else if (call.name == "glMaterialfv" || call.name == "glMaterialf") {
            pending.push_back(call);
            if (call.name == "glMaterialfv" && call.ints[1] == GL_DIFFUSE) material = MaterialByDiffuse(call.floats);
        } else if (call.name == "glNormal3f" || call.name == "glTexCoord2f" || call.name == "glVertex3f") {
            if (call.name != expected) r.triples_in_order = false;
            expected = call.name == "glNormal3f" ? "glTexCoord2f" : call.name == "glTexCoord2f" ? "glVertex3f" : "glNormal3f";
            if (call.name == "glNormal3f") ++r.normals;
            if (call.name == "glTexCoord2f") ++r.texcoords;
            if (call.name == "glVertex3f") {
                if (r.vertices % 3 == 0) r.material_of_triangle.push_back(material);
                ++r.vertices;
                ++in_batch;
            }
        }
    }
    return r;
}

TEST_F(DisplayListTest, CompilesTheModelWithTwoMaterialBatches)
{
    CFlyer::CreateDisplayList();
    const std::vector<GlCall>& calls = RecordedGlCalls;
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0].name, "glGenLists");
    EXPECT_EQ(calls[0].ints, std::vector<unsigned>{1});
    EXPECT_EQ(calls[1].name, "glNewList");
    EXPECT_EQ(calls[1].ints, (std::vector<unsigned>{7, GL_COMPILE}));
    EXPECT_EQ(calls[2].name, "glBegin");
    EXPECT_EQ(calls.back().name, "glEndList");
    EXPECT_EQ(calls[calls.size() - 2].name, "glEnd");
    EXPECT_EQ(CFlyer::DisplayListId, 7u);

    const Reading r = Read(calls);
    EXPECT_EQ(r.normals, 1536);
    EXPECT_EQ(r.texcoords, 1536);
    EXPECT_EQ(r.vertices, 1536);
    EXPECT_TRUE(r.triples_in_order);
    // An empty first pair, then the two materials' batches.
    EXPECT_EQ(r.batch_sizes, (std::vector<int>{0, 192 * 3, 320 * 3}));
    ASSERT_EQ(r.material_of_triangle.size(), 512u);
    EXPECT_EQ(r.material_of_triangle[191], 0);
    EXPECT_EQ(r.material_of_triangle[192], 1);
    for (const GlCall& call : calls)
        if (call.name == "glBegin") {
            EXPECT_EQ(call.ints[0], unsigned(GL_TRIANGLES));
        }
}

TEST_F(DisplayListTest, EachMaterialSwitchSetsTheWholeRecord)
{
    CFlyer::CreateDisplayList();
    const Reading r = Read(RecordedGlCalls);
    ASSERT_EQ(r.switches.size(), 2u);
    for (int m = 0; m < 2; ++m) {
        const MeshMaterial& want = MeshMaterials[m];
        const std::vector<GlCall>& s = r.switches[m];
        ASSERT_EQ(s.size(), 5u) << "material " << m;
        const GLenum properties[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
        const float* colours[] = {want.ambient, want.diffuse, want.specular, want.emission};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(s[i].name, "glMaterialfv");
            EXPECT_EQ(s[i].ints, (std::vector<unsigned>{GL_FRONT_AND_BACK, properties[i]}));
            EXPECT_EQ(s[i].floats, (std::vector<float>{colours[i][0], colours[i][1], colours[i][2], 1.0f}));
        }
        EXPECT_EQ(s[4].name, "glMaterialf");
        EXPECT_EQ(s[4].ints, (std::vector<unsigned>{GL_FRONT_AND_BACK, GL_SHININESS}));
        EXPECT_EQ(s[4].floats, std::vector<float>{25.6f});
    }
    EXPECT_EQ(r.switches[0][1].floats, (std::vector<float>{0.36f, 0.25f, 0.2f, 1.0f}));
    EXPECT_EQ(r.switches[1][1].floats, (std::vector<float>{1.0f, 1.0f, 0.0f, 1.0f}));
}

TEST_F(DisplayListTest, CornersAreSentFromTheirOwnTables)
{
    CFlyer::CreateDisplayList();
    std::vector<const GlCall*> triples;
    for (const GlCall& call : RecordedGlCalls)
        if (call.name == "glNormal3f" || call.name == "glTexCoord2f" || call.name == "glVertex3f")
            triples.push_back(&call);
    ASSERT_EQ(triples.size(), 1536u * 3);
    for (int t = 0; t < MESH_TRIANGLE_COUNT; ++t) {
        for (int c = 0; c < 3; ++c) {
            const size_t k = (size_t(t) * 3 + c) * 3;
            const float* n = MeshNormals[MeshTriangles[t].normal[c]];
            const float* uv = MeshTexCoords[MeshTriangles[t].texcoord[c]];
            const float* p = MeshPositions[MeshTriangles[t].position[c]];
            ASSERT_EQ(triples[k]->floats, (std::vector<float>{n[0], n[1], n[2]})) << t << "/" << c;
            ASSERT_EQ(triples[k + 1]->floats, (std::vector<float>{uv[0], uv[1]})) << t << "/" << c;
            ASSERT_EQ(triples[k + 2]->floats, (std::vector<float>{p[0], p[1], p[2]})) << t << "/" << c;
        }
    }
}

TEST_F(DisplayListTest, AFlyerIsPlacedTurnedAndCalled)
{
    CFlyer::DisplayListId = 9;
    CFlyer flyer;
    flyer.position.Set(1.25, -2.5, -7.0);
    flyer.angle = -400.5;
    flyer.Draw();
    ASSERT_EQ(RecordedGlCalls.size(), 4u);
    EXPECT_EQ(RecordedGlCalls[0].name, "glLoadIdentity");
    EXPECT_EQ(RecordedGlCalls[1].name, "glTranslatef");
    EXPECT_EQ(RecordedGlCalls[1].floats, (std::vector<float>{1.25f, -2.5f, -7.0f}));
    EXPECT_EQ(RecordedGlCalls[2].name, "glRotatef");
    EXPECT_EQ(RecordedGlCalls[2].floats, (std::vector<float>{-400.5f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(RecordedGlCalls[3].name, "glCallList");
    EXPECT_EQ(RecordedGlCalls[3].ints, std::vector<unsigned>{9});
}

TEST_F(DisplayListTest, ListMistakesEndTheProcess)
{
    CFlyer::DisplayListId = 3;
    EXPECT_EXIT(CFlyer::CreateDisplayList(), testing::ExitedWithCode(1),
                "flyer.cpp \\([0-9]+\\) Assert: DisplayListId == 0\n");
    CFlyer::DisplayListId = 0;
    CFlyer flyer;
    EXPECT_EXIT(flyer.Draw(), testing::ExitedWithCode(1),
                "flyer.cpp \\([0-9]+\\) Assert: DisplayListId != 0\n");
}

}  // namespace
