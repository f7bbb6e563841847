#include "CompiledDraw.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <map>
#include <utility>

namespace {
bool Immediate = false;
// Lists by context; a context's lists go with it.
std::map<QOpenGLContext*, std::map<std::pair<const void*, uint64_t>, GLuint>> Lists;
}  // namespace

void SetImmediateDrawing(bool On) {
  Immediate = On;
}

bool ImmediateDrawing() {
  return Immediate;
}

void CallCompiled(const void* Owner, uint64_t Key, const std::function<void()>& Emit) {
  QOpenGLContext* context = Immediate ? nullptr : QOpenGLContext::currentContext();
  if (!context) {
    Emit();
    return;
  }
  auto contextLists = Lists.find(context);
  if (contextLists == Lists.end()) {
    contextLists =
        Lists.emplace(context, std::map<std::pair<const void*, uint64_t>, GLuint>{}).first;
    // A later context at the same address compiles anew.
    QObject::connect(context, &QOpenGLContext::aboutToBeDestroyed, context,
                     [context] { Lists.erase(context); });
  }
  auto& lists = contextLists->second;
  auto it = lists.find({Owner, Key});
  if (it == lists.end()) {
    GLint compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &compiling);
    const GLuint list = compiling ? 0 : glGenLists(1);
    if (list == 0) {
      Emit();
      return;
    }
    glNewList(list, GL_COMPILE);
    Emit();
    glEndList();
    it = lists.emplace(std::make_pair(Owner, Key), list).first;
  }
  glCallList(it->second);
}
