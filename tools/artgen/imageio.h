// Writers for the picture formats the program reads: GIF (which Qt can only read),
// multi-size ICO files, and the formats Qt writes itself (JPG, BMP, PNG).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace artgen {

// Encodes an opaque image as a GIF89a file: the palette is built from the image's own
// colours (median cut when it holds more than 256) and the pixels are LZW-compressed.
QByteArray encodeGif(const QImage& image);

// Reduces an image to at most 256 colours (the palette the GIF writer uses), as an
// 8-bit indexed image; PNG files of such images are far smaller.
QImage toIndexed(const QImage& image);

// Builds an icon file holding every image of the list. Images smaller than 256 pixels
// are stored as 32-bit bitmaps with an AND mask, 256-pixel images as PNG.
QByteArray encodeIco(const QList<QImage>& images);

// Writes a picture, choosing the format from the file's extension (JPG, BMP, PNG, GIF,
// ICO). Creates missing folders. Returns false and fills error on failure.
bool savePicture(const QImage& image, const QString& path, QString* error);

// Writes an icon file with several sizes.
bool saveIcon(const QList<QImage>& images, const QString& path, QString* error);

} // namespace artgen
