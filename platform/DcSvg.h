#pragma once

#include "Dc.h"

#include <QByteArray>
#include <QSize>

#include <memory>

// A context whose drawing becomes an SVG picture of `size` device pixels: lines, shapes and texts
// as SVG elements (texts stay texts), for pictures that other programs scale without loss.
class SvgDc : public Dc {
public:
    explicit SvgDc(QSize size, int dpi = 96);
    ~SvgDc() override;

    // The picture so far, as a complete SVG document.
    QByteArray Document() const;

private:
    class Writer;
    std::unique_ptr<Writer> m_Writer;
};
