// Helpers of the LZH tests: test inputs, a bit writer for hand-made streams, and a minimal LZH
// archive around an -lh5- bit stream for the lhasa extractor.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <random>

namespace lzhtest {

inline QByteArray randomBytes(int n, unsigned seed) {
    std::mt19937 gen(seed);
    QByteArray out(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        out[i] = char(gen() & 0xFF);
    return out;
}

// Spanish-like text with repeats at every distance up to the dictionary's size.
inline QByteArray spanishText(int n, unsigned seed) {
    static const char* words[] = {"el",      "repaso",   "de",        "las",   "fichas",
                                  "estudio", "pregunta", "respuesta", "nivel", "día",
                                  "próximo", "memoria",  "aprender",  "con",   "una",
                                  "imagen",  "texto",    "largo",     "corto", "fecha"};
    std::mt19937 gen(seed);
    QByteArray out;
    while (out.size() < n) {
        out.append(words[gen() % 20]);
        out.append(gen() % 9 == 0 ? ".\r\n" : " ");
    }
    out.truncate(n);
    return out;
}

inline QByteArray readFixture(const QString& name) {
    QFile f(QStringLiteral(ORBANEL_TEST_FIXTURES "/streams/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Writes fields most significant bit first, as the format does.
class BitWriter {
public:
    void put(int n, std::uint32_t value) {
        for (int i = n - 1; i >= 0; --i) {
            acc_ = std::uint8_t(acc_ << 1 | ((value >> i) & 1));
            if (++bits_ == 8) {
                out_.append(char(acc_));
                acc_ = 0;
                bits_ = 0;
            }
        }
    }
    // The bytes written, the last partial byte padded with zero bits.
    QByteArray bytes() const {
        QByteArray out = out_;
        if (bits_)
            out.append(char(acc_ << (8 - bits_)));
        return out;
    }

private:
    QByteArray out_;
    std::uint8_t acc_ = 0;
    int bits_ = 0;
};

inline QByteArray frame(qint32 length, const QByteArray& bits) {
    QByteArray out;
    const auto n = std::uint32_t(length);
    out.append(char(n & 0xFF)).append(char(n >> 8 & 0xFF));
    out.append(char(n >> 16 & 0xFF)).append(char(n >> 24 & 0xFF));
    return out + bits;
}

inline std::uint16_t crc16(const QByteArray& data) {
    std::uint16_t crc = 0;
    for (char c : data) {
        crc ^= std::uint8_t(c);
        for (int i = 0; i < 8; ++i)
            crc = (crc & 1) ? std::uint16_t((crc >> 1) ^ 0xA001) : std::uint16_t(crc >> 1);
    }
    return crc;
}

// A one-member level-0 LZH archive holding the -lh5- bit stream of data.
inline QByteArray lh5Archive(const QByteArray& original, const QByteArray& bitStream,
                             const QByteArray& name = "data.bin") {
    auto le32 = [](QByteArray& out, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.append(char(v >> (8 * i) & 0xFF));
    };
    QByteArray h;
    h.append("-lh5-");
    le32(h, std::uint32_t(bitStream.size()));
    le32(h, std::uint32_t(original.size()));
    le32(h, 0x5A210000u); // DOS time 00:00:00, date 2025-01-01
    h.append(char(0x20)); // attribute: archive
    h.append(char(0));    // header level 0
    h.append(char(name.size()));
    h.append(name);
    const std::uint16_t crc = crc16(original);
    h.append(char(crc & 0xFF)).append(char(crc >> 8));
    int sum = 0;
    for (char c : h)
        sum += std::uint8_t(c);
    QByteArray archive;
    archive.append(char(h.size()));
    archive.append(char(sum & 0xFF));
    archive.append(h);
    archive.append(bitStream);
    archive.append(char(0)); // end of archive
    return archive;
}

} // namespace lzhtest
