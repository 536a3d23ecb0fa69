// The buffer-object entry points of OpenGL 1.5 are called directly; Mesa's
// libGL exports them.
#define GL_GLEXT_PROTOTYPES 1

#include "reference_draws.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "flyer.h"
#include "flyer_model.h"
#include "platform/gl.h"
#include "render.h"

namespace {
const int FLOOR_MATERIAL = 1;  // the model's larger part; one call, one material
constexpr double DEGREES_TO_RADIANS = 3.14159265358979323846 / 180.0;

std::vector<GLfloat> FloorVertices;  // normal x, y, z, then position x, y, z
std::vector<GLuint> FloorIndices;
GLuint FloorBuffer = 0;
GLuint FloorIndexBuffer = 0;
bool FloorUsedBufferObject = false;

// The frame around the flyers, as CRender::Draw sets it up.
void BeginFrame()
{
    glClear(GL_DEPTH_BUFFER_BIT);
    glClear(GL_COLOR_BUFFER_BIT);
    CRender::SetProjection();
    glEnable(GL_LIGHTING);
}

bool HasBufferObjects()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (version == nullptr) return false;
    char* rest = nullptr;
    const long major = std::strtol(version, &rest, 10);
    const long minor = *rest == '.' ? std::strtol(rest + 1, nullptr, 10) : 0;
    return major > 1 || (major == 1 && minor >= 5);
}
}  // namespace

void DrawImmediateFrame()
{
    BeginFrame();
    for (const CFlyer* flyer : FlyerSlots) {
        if (flyer == nullptr) continue;
        glLoadIdentity();
        glTranslatef(float(flyer->position.x), float(flyer->position.y), float(flyer->position.z));
        glRotatef(float(flyer->angle), 0.0f, 0.0f, 1.0f);
        // The commands the display list holds, issued afresh.
        glBegin(GL_TRIANGLES);
        int remaining = 0;
        const MaterialGroup* group = MeshGroups;
        for (const MeshTriangle& triangle : MeshTriangles) {
            if (remaining == 0) {
                glEnd();
                ApplyMeshMaterial(group->material);
                glBegin(GL_TRIANGLES);
                remaining = group->count;
                ++group;
            }
            for (int corner = 0; corner < 3; ++corner) {
                glNormal3fv(MeshNormals[triangle.normal[corner]]);
                glTexCoord2fv(MeshTexCoords[triangle.texcoord[corner]]);
                glVertex3fv(MeshPositions[triangle.position[corner]]);
            }
            --remaining;
        }
        glEnd();
    }
    glDisable(GL_LIGHTING);
}

void PrepareFloor()
{
    ReleaseFloor();
    // Each distinct corner (position and normal) of the model once, and the
    // triangles as indices into them: every vertex is lit once per flyer.
    std::map<std::pair<int, int>, GLuint> corners;
    std::vector<std::pair<int, int>> model_vertices;
    std::vector<GLuint> model_indices;
    for (const MeshTriangle& triangle : MeshTriangles) {
        for (int corner = 0; corner < 3; ++corner) {
            const std::pair<int, int> key(triangle.position[corner], triangle.normal[corner]);
            const auto found = corners.emplace(key, GLuint(model_vertices.size()));
            if (found.second) model_vertices.push_back(key);
            model_indices.push_back(found.first->second);
        }
    }
    for (const CFlyer* flyer : FlyerSlots) {
        if (flyer == nullptr) continue;
        // The flyer's own transform in single precision, as glTranslatef and
        // glRotatef receive it: turn about z, then move.
        const float a = float(float(flyer->angle) * DEGREES_TO_RADIANS);
        const float c = std::cos(a), s = std::sin(a);
        const float t[3] = {float(flyer->position.x), float(flyer->position.y),
                            float(flyer->position.z)};
        const GLuint first = GLuint(FloorVertices.size() / 6);
        for (const auto& corner : model_vertices) {
            const float* p = MeshPositions[corner.first];
            const float* n = MeshNormals[corner.second];
            const GLfloat vertex[6] = {
                c * n[0] - s * n[1],        s * n[0] + c * n[1],        n[2],
                c * p[0] - s * p[1] + t[0], s * p[0] + c * p[1] + t[1], p[2] + t[2]};
            FloorVertices.insert(FloorVertices.end(), vertex, vertex + 6);
        }
        for (GLuint index : model_indices) FloorIndices.push_back(first + index);
    }
    if (HasBufferObjects()) {
        glGenBuffers(1, &FloorBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, FloorBuffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(FloorVertices.size() * sizeof(GLfloat)),
                     FloorVertices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glGenBuffers(1, &FloorIndexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, FloorIndexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(FloorIndices.size() * sizeof(GLuint)),
                     FloorIndices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    FloorUsedBufferObject = FloorBuffer != 0;
}

void DrawFloorFrame()
{
    BeginFrame();
    ApplyMeshMaterial(FLOOR_MATERIAL);
    const GLsizei stride = 6 * sizeof(GLfloat);
    const GLfloat* base = FloorVertices.data();
    const GLuint* indices = FloorIndices.data();
    if (FloorBuffer != 0) {
        glBindBuffer(GL_ARRAY_BUFFER, FloorBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, FloorIndexBuffer);
        base = nullptr;  // offsets into the bound buffers
        indices = nullptr;
    }
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glNormalPointer(GL_FLOAT, stride, base);
    glVertexPointer(3, GL_FLOAT, stride, base + 3);
    glDrawElements(GL_TRIANGLES, GLsizei(FloorIndices.size()), GL_UNSIGNED_INT, indices);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    if (FloorBuffer != 0) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    }
    glDisable(GL_LIGHTING);
}

void ReleaseFloor()
{
    if (FloorBuffer != 0) glDeleteBuffers(1, &FloorBuffer);
    if (FloorIndexBuffer != 0) glDeleteBuffers(1, &FloorIndexBuffer);
    FloorBuffer = FloorIndexBuffer = 0;
    FloorVertices.clear();
    FloorIndices.clear();
}

const char* FloorSource()
{
    return FloorUsedBufferObject ? "indexed, from buffer objects" : "indexed, from client arrays";
}
