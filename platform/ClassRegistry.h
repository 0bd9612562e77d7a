#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>
#include <vector>

class Archive;
class Persistent;

// The run-time description of a class whose objects an archive stores with their class name: the
// name as files hold it, the schema number written with it, the base class for kind checks and the
// factory that recreates an object when a file is read.
struct ClassInfo {
    const char* name;
    quint16 schema;
    // A versionable class accepts any stored schema; every other class refuses a schema of its own.
    bool versionable;
    const ClassInfo* base;
    // Null for a class that is never recreated from a file by itself.
    std::unique_ptr<Persistent> (*create)();

    bool IsDerivedFrom(const ClassInfo& other) const;
};

// An object that an archive writes and reads with its class.
class Persistent {
public:
    virtual ~Persistent() = default;
    virtual const ClassInfo& RuntimeClass() const = 0;
    // Writes or reads the object's own data (the archive says which).
    virtual void Serialize(Archive& ar) = 0;
    bool IsKindOf(const ClassInfo& cls) const { return RuntimeClass().IsDerivedFrom(cls); }
};

// The factory entry of a ClassInfo for a default-constructible class.
template <class T> std::unique_ptr<Persistent> CreatePersistent()
{
    return std::make_unique<T>();
}

// The classes a loading archive may recreate, found by their exact (case-sensitive) name.
class ClassRegistry {
public:
    // The program's registry; the program registers its classes before it reads any file.
    static ClassRegistry& instance();

    // Registers a class. Registering the same class again changes nothing; a different class under a
    // name that is already taken is refused (false).
    bool add(const ClassInfo& cls);
    const ClassInfo* find(QByteArrayView name) const;

private:
    std::vector<const ClassInfo*> m_classes;
};
