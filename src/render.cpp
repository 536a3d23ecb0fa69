#include "render.h"

#include <new>
#ifdef LUMENFALL_FIXED_POPULATION
#include <cstdlib>
#endif

#include "flyer.h"
#include "platform/clock.h"
#include "platform/gl.h"
#include "utility/diagnostics.h"
#include "utility/timer.h"

CFlyer* FlyerSlots[FLYER_SLOTS];
int MaxFlyers = MIN_FLYERS;
DWORD LastAdjustmentTime = 0;
int ScreenWidth = 0;
int ScreenHeight = 0;
CBitmapFont BitmapFont;

namespace {
constexpr DWORD ADJUSTMENT_SPACING_MS = 2000;
constexpr double TARGET_FRAME_RATE = 30.0;
constexpr double TARGET_INTERVAL_S = 1.0 / 30.0;

constexpr int FONT_POINT_SIZE = 12;
const GLfloat LIGHT_AMBIENT[4] = {0.1f, 0.1f, 0.1f, 1.0f};
// Brighter than white on purpose; OpenGL takes light colours unclamped.
const GLfloat LIGHT_DIFFUSE[4] = {1.2f, 1.2f, 1.2f, 1.0f};
const GLfloat LIGHT_SPECULAR[4] = {0.9f, 0.9f, 0.9f, 1.0f};
// w = 0: a directional light from the left, in front of the viewer.
const GLfloat LIGHT_POSITION[4] = {-1000.0f, 0.0f, 700.0f, 0.0f};
// A 4:3 screen gets 67.5 degrees; the horizontal field stays near 90.
constexpr double FIELD_OF_VIEW_AREA = 90.0;
constexpr double NEAR_PLANE = 0.1;
// The retirement radius: a flyer leaves the view as it leaves the scene.
constexpr double FAR_PLANE = RETIREMENT_RADIUS;
}  // namespace

void CRender::Init(HDC hdc)
{
    Trace("CRender::Init\n");
    ASSERT(hdc != NULL);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    // Back faces culled; front faces are counter-clockwise (both defaults).
    glEnable(GL_CULL_FACE);
    SetLights();
    BitmapFont.Init(hdc, FONT_POINT_SIZE);
    CFlyer::CreateDisplayList();
    for (CFlyer*& slot : FlyerSlots) slot = nullptr;
}

void CRender::Close()
{
    Trace("CRender::Close\n");
    BitmapFont.Close();
    for (CFlyer*& slot : FlyerSlots) {
        delete slot;
        slot = nullptr;
    }
}

void CRender::Resize(int w, int h)
{
    Trace("CRender::Resize\n");
    ASSERT(w > 0);
    ASSERT(h > 0);
    ScreenWidth = w;
    ScreenHeight = h;
    Trace("ScreenWidth = %d, ScreenHeight = %d\n", ScreenWidth, ScreenHeight);
    glViewport(0, 0, w, h);
}

void CRender::SetLights()
{
    glLightfv(GL_LIGHT0, GL_AMBIENT, LIGHT_AMBIENT);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, LIGHT_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LIGHT_SPECULAR);
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT_POSITION);
    glEnable(GL_LIGHT0);
}

void CRender::SetProjection()
{
    ASSERT(ScreenHeight > 0);
    const double aspect = double(ScreenWidth) / double(ScreenHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW_AREA / aspect, aspect, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0);
}

void CRender::Draw()
{
    glClear(GL_DEPTH_BUFFER_BIT);
    glClear(GL_COLOR_BUFFER_BIT);
    SetProjection();
    glEnable(GL_LIGHTING);
    for (CFlyer* slot : FlyerSlots)
        if (slot != nullptr) slot->Draw();
    glDisable(GL_LIGHTING);
}

void CRender::Update(double time_interval_s)
{
    ASSERT(time_interval_s > -EPSILON);
    int live = CountFlyers();
    for (CFlyer*& slot : FlyerSlots) {
        if (slot != nullptr) {
            slot->Update(time_interval_s);
            if (slot->IsOutOfRange()) {
                delete slot;
                slot = nullptr;
                --live;
            }
        } else if (live < MaxFlyers) {
            // A failed allocation leaves the slot empty but still uses up the
            // budget, so a short-of-memory frame spawns no more than usual.
            slot = new (std::nothrow) CFlyer;
            ++live;
        }
    }
    AdjustPopulation();
}

int CRender::CountFlyers()
{
    int live = 0;
    for (const CFlyer* slot : FlyerSlots)
        if (slot != nullptr) ++live;
    return live;
}

void CRender::IncreaseMaxFlyers()
{
    if (MaxFlyers < MAX_FLYERS) ++MaxFlyers;
}

void CRender::DecreaseMaxFlyers()
{
    if (MaxFlyers > MIN_FLYERS) --MaxFlyers;
}

#ifdef LUMENFALL_FIXED_POPULATION
namespace {
// 0 when unset or out of range: the controller decides as usual.
int FixedPopulation()
{
    const char* text = std::getenv("LUMENFALL_FLYERS");
    const int flyers = text != nullptr ? std::atoi(text) : 0;
    return flyers >= MIN_FLYERS && flyers <= MAX_FLYERS ? flyers : 0;
}
}  // namespace
#endif

void CRender::AdjustPopulation()
{
#ifdef LUMENFALL_FIXED_POPULATION
    static const int fixed = FixedPopulation();
    if (fixed != 0) {
        MaxFlyers = fixed;
        return;
    }
#endif
    const DWORD now = Clock.timeGetTime();
    // Unsigned difference: the wrap of the millisecond clock does no harm.
    if (DWORD(now - LastAdjustmentTime) < ADJUSTMENT_SPACING_MS) return;
    if (SampleFrameRate > TARGET_FRAME_RATE && FrameInterval < TARGET_INTERVAL_S) {
        IncreaseMaxFlyers();
        LastAdjustmentTime = now;
    }
    if (SampleFrameRate < TARGET_FRAME_RATE && FrameInterval > TARGET_INTERVAL_S) {
        DecreaseMaxFlyers();
        LastAdjustmentTime = now;
    }
}

void TraceController()
{
#ifdef LUMENFALL_TRACE_CONTROLLER
    if (SampleFrameCount == 0)
        Trace("Controller: %.3f s, %.2f fps, interval %.5f s, MaxFlyers %d, live %d\n",
              double(PreviousCount - StartCount) / double(Frequency.QuadPart), SampleFrameRate,
              FrameInterval, MaxFlyers, CRender::CountFlyers());
#endif
}
