#pragma once
// Controls are found by their names; every window names what it builds.
#include <QString>

namespace morla {

template <typename W>
W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}
template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace morla
