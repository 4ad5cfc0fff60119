#include "imageio.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace artgen {

namespace {

struct ColourCount {
    QRgb rgb;
    int count;
};

int channel(QRgb c, int ch) {
    switch (ch) {
    case 0:
        return qRed(c);
    case 1:
        return qGreen(c);
    default:
        return qBlue(c);
    }
}

// Median-cut quantisation: splits the colour space into at most maxColours boxes,
// each time cutting the box with the widest weighted spread at its weighted median.
std::vector<QRgb> buildPalette(const QImage& img, int maxColours) {
    QHash<QRgb, int> histogram;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            ++histogram[line[x] | 0xff000000u];
    }
    std::vector<ColourCount> colours;
    colours.reserve(histogram.size());
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
        colours.push_back({it.key(), it.value()});
    std::sort(colours.begin(), colours.end(),
              [](const ColourCount& a, const ColourCount& b) { return a.rgb < b.rgb; });

    std::vector<QRgb> palette;
    if (static_cast<int>(colours.size()) <= maxColours) {
        for (const auto& c : colours)
            palette.push_back(c.rgb);
        return palette;
    }

    struct Box {
        int begin;
        int end; // half-open range into colours
    };
    std::vector<Box> boxes{{0, static_cast<int>(colours.size())}};

    auto spread = [&](const Box& b, int* widestChannel) {
        int best = -1;
        long long bestScore = -1;
        long long weight = 0;
        for (int i = b.begin; i < b.end; ++i)
            weight += colours[i].count;
        for (int ch = 0; ch < 3; ++ch) {
            int lo = 255;
            int hi = 0;
            for (int i = b.begin; i < b.end; ++i) {
                lo = std::min(lo, channel(colours[i].rgb, ch));
                hi = std::max(hi, channel(colours[i].rgb, ch));
            }
            // Green counts a little more: the eye is most sensitive to it.
            const long long score = static_cast<long long>(hi - lo) * (ch == 1 ? 6 : 5);
            if (score > bestScore) {
                bestScore = score;
                best = ch;
            }
        }
        *widestChannel = best;
        // Weigh the range by the square root of the population so that large smooth
        // areas (sky gradients) get their share of colours too.
        return bestScore * static_cast<long long>(std::sqrt(static_cast<double>(weight)) + 1);
    };

    while (static_cast<int>(boxes.size()) < maxColours) {
        int pick = -1;
        int pickChannel = 0;
        long long pickScore = 0;
        for (int i = 0; i < static_cast<int>(boxes.size()); ++i) {
            if (boxes[i].end - boxes[i].begin < 2)
                continue;
            int ch = 0;
            const long long s = spread(boxes[i], &ch);
            if (s > pickScore) {
                pickScore = s;
                pick = i;
                pickChannel = ch;
            }
        }
        if (pick < 0)
            break;
        Box box = boxes[pick];
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [&](const ColourCount& a, const ColourCount& b) {
                      return channel(a.rgb, pickChannel) < channel(b.rgb, pickChannel);
                  });
        long long total = 0;
        for (int i = box.begin; i < box.end; ++i)
            total += colours[i].count;
        long long running = 0;
        int cut = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            running += colours[i].count;
            cut = i + 1;
            if (running * 2 >= total)
                break;
        }
        boxes[pick] = {box.begin, cut};
        boxes.push_back({cut, box.end});
    }

    for (const Box& b : boxes) {
        double r = 0, g = 0, bl = 0, w = 0;
        for (int i = b.begin; i < b.end; ++i) {
            const double n = colours[i].count;
            r += qRed(colours[i].rgb) * n;
            g += qGreen(colours[i].rgb) * n;
            bl += qBlue(colours[i].rgb) * n;
            w += n;
        }
        palette.push_back(qRgb(qRound(r / w), qRound(g / w), qRound(bl / w)));
    }
    return palette;
}

int nearest(const std::vector<QRgb>& palette, QRgb c) {
    int best = 0;
    int bestDist = INT32_MAX;
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
        const int dr = qRed(c) - qRed(palette[i]);
        const int dg = qGreen(c) - qGreen(palette[i]);
        const int db = qBlue(c) - qBlue(palette[i]);
        const int d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestDist) {
            bestDist = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

// Collects variable-width codes least significant bit first and cuts them into the
// GIF's data sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    void put(int code, int width) {
        bits_ |= static_cast<std::uint32_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes_.push_back(static_cast<char>(bits_ & 0xff));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    QByteArray finish() {
        if (count_ > 0)
            bytes_.push_back(static_cast<char>(bits_ & 0xff));
        QByteArray blocks;
        for (qsizetype i = 0; i < bytes_.size(); i += 255) {
            const qsizetype n = std::min<qsizetype>(255, bytes_.size() - i);
            blocks.append(static_cast<char>(n));
            blocks.append(bytes_.constData() + i, n);
        }
        blocks.append('\0');
        return blocks;
    }

private:
    QByteArray bytes_;
    std::uint32_t bits_ = 0;
    int count_ = 0;
};

QByteArray lzwCompress(const std::vector<std::uint8_t>& indices, int minCodeSize) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    constexpr int maxCode = 4095;

    CodeWriter out;
    std::unordered_map<std::uint32_t, int> table;
    int codeSize = minCodeSize + 1;
    int nextCode = endCode + 1;

    out.put(clearCode, codeSize);
    if (indices.empty()) {
        out.put(endCode, codeSize);
        return out.finish();
    }
    int prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int k = indices[i];
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | k;
        const auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        out.put(prefix, codeSize);
        if (nextCode <= maxCode) {
            table.emplace(key, nextCode);
            // The decoder widens its codes once the table holds a code that no longer
            // fits; it learns each entry one code later, hence the comparison with the
            // entry just added.
            if (nextCode == (1 << codeSize) && codeSize < 12)
                ++codeSize;
            ++nextCode;
        } else {
            out.put(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = k;
    }
    out.put(prefix, codeSize);
    out.put(endCode, codeSize);
    return out.finish();
}

void putLe16(QByteArray& a, int v) {
    a.append(static_cast<char>(v & 0xff));
    a.append(static_cast<char>((v >> 8) & 0xff));
}

void putLe32(QByteArray& a, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        a.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

QByteArray dibEntry(const QImage& src) {
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray a;
    putLe32(a, 40);    // header size
    putLe32(a, w);     // width
    putLe32(a, 2 * h); // height of colour + mask
    putLe16(a, 1);     // planes
    putLe16(a, 32);    // bits per pixel
    putLe32(a, 0);     // no compression
    putLe32(a, w * h * 4 + maskStride * h);
    putLe32(a, 0);
    putLe32(a, 0);
    putLe32(a, 0);
    putLe32(a, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            a.append(static_cast<char>(qBlue(line[x])));
            a.append(static_cast<char>(qGreen(line[x])));
            a.append(static_cast<char>(qRed(line[x])));
            a.append(static_cast<char>(qAlpha(line[x])));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        a.append(row);
    }
    return a;
}

} // namespace

namespace {

// Maps every pixel to its palette index, row by row.
std::vector<std::uint8_t> mapToPalette(const QImage& img, const std::vector<QRgb>& palette) {
    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(img.width()) * img.height());
    QHash<QRgb, int> cache;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            auto it = cache.find(c);
            if (it == cache.end())
                it = cache.insert(c, nearest(palette, c));
            indices.push_back(static_cast<std::uint8_t>(it.value()));
        }
    }
    return indices;
}

} // namespace

QImage toIndexed(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const std::vector<QRgb> palette = buildPalette(img, 256);
    const std::vector<std::uint8_t> indices = mapToPalette(img, palette);
    QImage out(img.size(), QImage::Format_Indexed8);
    out.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < img.height(); ++y)
        std::copy_n(indices.begin() + static_cast<std::ptrdiff_t>(y) * img.width(), img.width(),
                    out.scanLine(y));
    return out;
}

QByteArray encodeGif(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> palette = buildPalette(img, 256);
    const std::vector<std::uint8_t> indices = mapToPalette(img, palette);

    int depth = 1; // colour table holds 2^depth entries
    while ((1 << depth) < static_cast<int>(palette.size()))
        ++depth;
    palette.resize(std::size_t{1} << depth, qRgb(0, 0, 0));
    const int minCodeSize = std::max(2, depth);

    QByteArray gif("GIF89a");
    putLe16(gif, img.width());
    putLe16(gif, img.height());
    gif.append(static_cast<char>(0x80 | ((depth - 1) << 4) | (depth - 1)));
    gif.append('\0'); // background colour index
    gif.append('\0'); // no aspect ratio
    for (QRgb c : palette) {
        gif.append(static_cast<char>(qRed(c)));
        gif.append(static_cast<char>(qGreen(c)));
        gif.append(static_cast<char>(qBlue(c)));
    }
    gif.append(',');
    putLe16(gif, 0);
    putLe16(gif, 0);
    putLe16(gif, img.width());
    putLe16(gif, img.height());
    gif.append('\0'); // no local colour table, not interlaced
    gif.append(static_cast<char>(minCodeSize));
    gif.append(lzwCompress(indices, minCodeSize));
    gif.append(';');
    return gif;
}

QByteArray encodeIco(const QList<QImage>& images) {
    QList<QByteArray> entries;
    for (const QImage& img : images) {
        if (img.width() >= 256) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            img.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG");
            entries.append(png);
        } else {
            entries.append(dibEntry(img));
        }
    }
    QByteArray ico;
    putLe16(ico, 0);
    putLe16(ico, 1); // icon, not cursor
    putLe16(ico, static_cast<int>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const QImage& img = images[i];
        ico.append(static_cast<char>(img.width() >= 256 ? 0 : img.width()));
        ico.append(static_cast<char>(img.height() >= 256 ? 0 : img.height()));
        ico.append('\0'); // no palette
        ico.append('\0');
        putLe16(ico, 1);  // planes
        putLe16(ico, 32); // bits per pixel
        putLe32(ico, static_cast<std::uint32_t>(entries[i].size()));
        putLe32(ico, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const QByteArray& e : entries)
        ico.append(e);
    return ico;
}

namespace {

bool writeFile(const QString& path, const QByteArray& data, QString* error) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

} // namespace

bool savePicture(const QImage& image, const QString& path, QString* error) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("gif"))
        return writeFile(path, encodeGif(image), error);
    if (ext == QLatin1String("ico"))
        return writeFile(path, encodeIco({image}), error);

    QDir().mkpath(QFileInfo(path).absolutePath());
    bool ok = false;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        ok = image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", 90);
    else if (ext == QLatin1String("bmp"))
        ok = image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    else
        ok = image.save(path, "PNG");
    if (!ok && error)
        *error = QStringLiteral("cannot write %1").arg(path);
    return ok;
}

bool saveIcon(const QList<QImage>& images, const QString& path, QString* error) {
    return writeFile(path, encodeIco(images), error);
}

} // namespace artgen
