#include "EngineLibrary.h"

#include <dlfcn.h>

#include "EngineBuffer.h"

QString EngineLibrary::bind(const QString &file) {
    void *library = dlopen(file.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return QString::fromLocal8Bit(dlerror());
#define SITELARK_ENGINE_BIND(name)                                     \
    name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
    if (!name) return QStringLiteral("%1 lacks %2").arg(file, QStringLiteral(#name));
    SITELARK_ENGINE_FUNCTIONS(SITELARK_ENGINE_BIND)
#undef SITELARK_ENGINE_BIND
    return {};
}

QString EngineLibrary::version() const {
    return QString::fromStdString(eng::client::takeText(Eng_GetVersion(nullptr), Eng_FreeMem));
}

EngineLibrary &engine() {
    static EngineLibrary bound;
    return bound;
}
