#include "support/gl_recorder.h"

#include "platform/gl.h"

std::vector<GlCall> RecordedGlCalls;
unsigned NextListName = 1;

namespace {
void Record(const char* name, std::vector<unsigned> ints, std::vector<float> floats = {})
{
    RecordedGlCalls.push_back({name, std::move(ints), std::move(floats)});
}
}  // namespace

GLuint GLAPIENTRY glGenLists(GLsizei range)
{
    Record("glGenLists", {unsigned(range)});
    const GLuint first = NextListName;
    NextListName += unsigned(range);
    return first;
}
void GLAPIENTRY glNewList(GLuint list, GLenum mode) { Record("glNewList", {list, mode}); }
void GLAPIENTRY glEndList() { Record("glEndList", {}); }
void GLAPIENTRY glBegin(GLenum mode) { Record("glBegin", {mode}); }
void GLAPIENTRY glEnd() { Record("glEnd", {}); }
void GLAPIENTRY glNormal3f(GLfloat x, GLfloat y, GLfloat z) { Record("glNormal3f", {}, {x, y, z}); }
void GLAPIENTRY glTexCoord2f(GLfloat s, GLfloat t) { Record("glTexCoord2f", {}, {s, t}); }
void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Record("glVertex3f", {}, {x, y, z}); }
void GLAPIENTRY glMaterialfv(GLenum face, GLenum pname, const GLfloat* params)
{
    Record("glMaterialfv", {face, pname}, {params[0], params[1], params[2], params[3]});
}
void GLAPIENTRY glMaterialf(GLenum face, GLenum pname, GLfloat param)
{
    Record("glMaterialf", {face, pname}, {param});
}
void GLAPIENTRY glLoadIdentity() { Record("glLoadIdentity", {}); }
void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Record("glTranslatef", {}, {x, y, z}); }
void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    Record("glRotatef", {}, {angle, x, y, z});
}
void GLAPIENTRY glCallList(GLuint list) { Record("glCallList", {list}); }
