// NSImage as a QImage: any format Qt's image plugins read.
#pragma once

#include <QImage>

#include "core/toolkit.h"

namespace tessary::update::qt {

class QtImage final : public Image {
public:
    explicit QtImage(QImage image) : image_(std::move(image)) {}
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

}  // namespace tessary::update::qt
