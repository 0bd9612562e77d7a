#pragma once
// Files as bytes: a document's file in memory (the bytes its Save writes, its Load from bytes), and
// a file on disk.
#include "Document.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray saveBytes(Document& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    doc.Save(buffer);
    return buffer.data();
}

// False when the document refuses the bytes; it is then as it was.
inline bool loadBytes(Document& doc, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return doc.Load(buffer);
}

// The file at `path`, holding `content`; its path.
inline QString writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

// What the file at `path` holds; nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
