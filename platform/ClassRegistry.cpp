#include "ClassRegistry.h"

bool ClassInfo::IsDerivedFrom(const ClassInfo& other) const
{
    for (const ClassInfo* c = this; c; c = c->base)
        if (c == &other) return true;
    return false;
}

ClassRegistry& ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

bool ClassRegistry::add(const ClassInfo& cls)
{
    if (const ClassInfo* known = find(QByteArrayView(cls.name))) return known == &cls;
    m_classes.push_back(&cls);
    return true;
}

const ClassInfo* ClassRegistry::find(QByteArrayView name) const
{
    for (const ClassInfo* c : m_classes)
        if (QByteArrayView(c->name) == name) return c;
    return nullptr;
}
