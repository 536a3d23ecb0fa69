#include "flyer.h"

#include "flyer_model.h"
#include "platform/gl.h"
#include "utility/diagnostics.h"
#include "utility/random.h"
#include "utility/timer.h"

unsigned int CFlyer::DisplayListId = 0;

namespace {
constexpr double PLACEMENT_HALF_WIDTH = 6.0;
constexpr double NEAREST_DEPTH = -2.0;
constexpr double FARTHEST_DEPTH = -12.0;
constexpr double MIN_SPEED = 0.15;
constexpr double BACK_OFF_STEP = 0.1;
constexpr double MIN_SPIN = 30.0;
constexpr double MAX_SPIN = 250.0;
}  // namespace

CFlyer::CFlyer()
{
    // Each draw is its own statement: the order of the draws is part of the
    // program's behaviour, and the order in which function arguments are
    // evaluated is not fixed.
    const double px = RandomRange(-PLACEMENT_HALF_WIDTH, PLACEMENT_HALF_WIDTH);
    const double py = RandomRange(-PLACEMENT_HALF_WIDTH, PLACEMENT_HALF_WIDTH);
    double pz = RandomRange(FARTHEST_DEPTH, NEAREST_DEPTH);
    // Until the first frame-rate sample exists, every flyer starts far away.
    if (SampleFrameRate == 0.0) pz = FARTHEST_DEPTH;
    position.Set(px, py, pz);

    do {
        const double vx = RandomRange(-1, 1);
        const double vy = RandomRange(-1, 1);
        velocity.Set(vx, vy, 0);
    } while (velocity.Length() < MIN_SPEED);

    // Back away against the direction of travel until the flyer stands on the
    // spawn sphere, so that it crosses the view before it leaves.
    do {
        position.x -= velocity.x * BACK_OFF_STEP;
        position.y -= velocity.y * BACK_OFF_STEP;
        position.z -= velocity.z * BACK_OFF_STEP;
    } while (position.Length() < SPAWN_RADIUS);

    angle = 0.0;
    spin = RandomRange(MIN_SPIN, MAX_SPIN);
    if (Random_Next() % 2 == 0) spin = -spin;
}

void CFlyer::Update(double time_interval_s)
{
    angle = angle + time_interval_s * spin;
    const Vector3 step(velocity.x * time_interval_s, velocity.y * time_interval_s,
                       velocity.z * time_interval_s);
    position += step;
}

bool CFlyer::IsOutOfRange() const { return position.Length() > RETIREMENT_RADIUS; }

void CFlyer::Draw() const
{
    // The eye transform is the identity, so the flyer's own one replaces it.
    glLoadIdentity();
    glTranslatef(float(position.x), float(position.y), float(position.z));
    glRotatef(float(angle), 0.0f, 0.0f, 1.0f);
    ASSERT(DisplayListId != 0);
    glCallList(DisplayListId);
}

void ApplyMeshMaterial(int index)
{
    const MeshMaterial& m = MeshMaterials[index];
    const GLenum properties[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
    const float* colours[] = {m.ambient, m.diffuse, m.specular, m.emission};
    for (int i = 0; i < 4; ++i) {
        const GLfloat c[4] = {colours[i][0], colours[i][1], colours[i][2], m.alpha};
        glMaterialfv(GL_FRONT_AND_BACK, properties[i], c);
    }
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.shininess);
}

namespace {
// Switches material between two batches of triangles: materials cannot
// change inside glBegin/glEnd.
void SetMaterial(int index)
{
    glEnd();
    ApplyMeshMaterial(index);
    glBegin(GL_TRIANGLES);
}
}  // namespace

void CFlyer::CreateDisplayList()
{
    ASSERT(DisplayListId == 0);
    const GLuint id = glGenLists(1);
    glNewList(id, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    int remaining = 0;
    const MaterialGroup* group = MeshGroups;
    for (const MeshTriangle& triangle : MeshTriangles) {
        if (remaining == 0) {
            SetMaterial(group->material);
            remaining = group->count;
            ++group;
        }
        for (int corner = 0; corner < 3; ++corner) {
            const float* n = MeshNormals[triangle.normal[corner]];
            const float* t = MeshTexCoords[triangle.texcoord[corner]];
            const float* p = MeshPositions[triangle.position[corner]];
            glNormal3f(n[0], n[1], n[2]);
            glTexCoord2f(t[0], t[1]);
            glVertex3f(p[0], p[1], p[2]);
        }
        --remaining;
    }
    glEnd();
    glEndList();
    DisplayListId = id;
}
