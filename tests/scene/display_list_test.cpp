// The model's display list, read back from a recording of the GL commands
// that compile it, and the drawing of one flyer.
#include <gtest/gtest.h>

#include <vector>

#include "flyer.h"
#include "flyer_model.h"
#include "platform/gl.h"
#include "support/gl_recorder.h"

namespace {

using Floats = std::vector<float>;

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

// The whole recording, call by call: the list's frame, an empty first
// begin/end pair, then per material group its full material record and one
// normal / texture-coordinate / vertex triple per corner, from the tables.
TEST_F(DisplayListTest, CompilesTheModelFromItsTables)
{
    CFlyer::CreateDisplayList();
    EXPECT_EQ(CFlyer::DisplayListId, 7u);
    std::vector<GlCall> expected = {{"glGenLists", {1}, {}}, {"glNewList", {7, GL_COMPILE}, {}},
                                    {"glBegin", {GL_TRIANGLES}, {}}, {"glEnd", {}, {}}};
    int first = 0;
    for (const MaterialGroup& group : MeshGroups) {
        const MeshMaterial& m = MeshMaterials[group.material];
        const GLenum properties[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
        const float* colours[] = {m.ambient, m.diffuse, m.specular, m.emission};
        for (int i = 0; i < 4; ++i)
            expected.push_back({"glMaterialfv", {GL_FRONT_AND_BACK, properties[i]},
                                {colours[i][0], colours[i][1], colours[i][2], 1.0f}});
        expected.push_back({"glMaterialf", {GL_FRONT_AND_BACK, GL_SHININESS}, {25.6f}});
        expected.push_back({"glBegin", {GL_TRIANGLES}, {}});
        for (int t = first; t < first + group.count; ++t)
            for (int c = 0; c < 3; ++c) {
                const float* n = MeshNormals[MeshTriangles[t].normal[c]];
                const float* uv = MeshTexCoords[MeshTriangles[t].texcoord[c]];
                const float* p = MeshPositions[MeshTriangles[t].position[c]];
                expected.push_back({"glNormal3f", {}, {n[0], n[1], n[2]}});
                expected.push_back({"glTexCoord2f", {}, {uv[0], uv[1]}});
                expected.push_back({"glVertex3f", {}, {p[0], p[1], p[2]}});
            }
        expected.push_back({"glEnd", {}, {}});
        first += group.count;
    }
    expected.push_back({"glEndList", {}, {}});
    // Two switches, dark then bright; 1536 triples, triangle 191 the last of
    // the dark batch.
    ASSERT_EQ(expected.size(), 4 + 2 * 7 + 1536 * 3 + 1u);
    EXPECT_EQ(expected[5].floats, (Floats{0.36f, 0.25f, 0.2f, 1.0f}));
    EXPECT_EQ(expected[10 + 192 * 9 + 2].floats, (Floats{1.0f, 1.0f, 0.0f, 1.0f}));

    const std::vector<GlCall>& calls = RecordedGlCalls;
    ASSERT_EQ(calls.size(), expected.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        ASSERT_EQ(calls[i].name, expected[i].name) << "call " << i;
        ASSERT_EQ(calls[i].ints, expected[i].ints) << "call " << i << " " << calls[i].name;
        ASSERT_EQ(calls[i].floats, expected[i].floats) << "call " << i << " " << calls[i].name;
    }
}

TEST_F(DisplayListTest, AFlyerIsPlacedTurnedAndCalled)
{
    CFlyer::DisplayListId = 9;
    CFlyer flyer;
    flyer.position.Set(1.25, -2.5, -7.0);
    flyer.angle = -400.5;
    flyer.Draw();
    const std::vector<GlCall> expected = {{"glLoadIdentity", {}, {}},
                                          {"glTranslatef", {}, {1.25f, -2.5f, -7.0f}},
                                          {"glRotatef", {}, {-400.5f, 0.0f, 0.0f, 1.0f}},
                                          {"glCallList", {9}, {}}};
    ASSERT_EQ(RecordedGlCalls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(RecordedGlCalls[i].name, expected[i].name);
        EXPECT_EQ(RecordedGlCalls[i].ints, expected[i].ints) << expected[i].name;
        EXPECT_EQ(RecordedGlCalls[i].floats, expected[i].floats) << expected[i].name;
    }
}

TEST_F(DisplayListTest, ListMistakesEndTheProcess)
{
    CFlyer::DisplayListId = 3;
    EXPECT_EXIT(CFlyer::CreateDisplayList(), testing::ExitedWithCode(1),
                "flyer.cpp \\([0-9]+\\) Assert: DisplayListId == 0\n");
    CFlyer::DisplayListId = 0;
    CFlyer flyer;
    EXPECT_EXIT(flyer.Draw(), testing::ExitedWithCode(1), "flyer.cpp \\([0-9]+\\) Assert: DisplayListId != 0\n");
}

}  // namespace
