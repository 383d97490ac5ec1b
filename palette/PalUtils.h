#pragma once

#include "ColorTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <vector>

namespace chromint {

// Reading and writing palette files: JASC ".pal" text, Photoshop-style ".aco" swatches and
// ".act" colour tables. Every reader takes the whole file into memory first, so a file is
// refused above a size no palette reaches, and every count and length is checked against the
// bytes actually there.

// A palette file that could not be read or written; the message is for the user.
class EPaletteError : public std::runtime_error {
public:
    explicit EPaletteError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& Message() const { return message_; }

private:
    QString message_;
};

inline constexpr qint64 MaxPaletteFileSize = 16 * 1024 * 1024;

extern const QString FileNotFoundMessage;
extern const QString UnsupportedPaletteMessage;
extern const QString UnsupportedAcoVersionMessage;
extern const QString UnsupportedSaveExtensionMessage;
extern const QString ReadErrorMessage;
extern const QString FileTooLargeMessage;
extern const QString WriteErrorMessage;

// A cursor over a file's bytes that refuses to read past the end, so no count or length in
// the file can make the reader touch memory it does not have. Words are big-endian.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes) : bytes_(bytes) {}

    qsizetype Remaining() const { return bytes_.size() - pos_; }

    quint8 Byte() {
        Need(1);
        return static_cast<quint8>(bytes_[pos_++]);
    }
    quint16 Word() {
        Need(2);
        const auto hi = static_cast<quint8>(bytes_[pos_]);
        const auto lo = static_cast<quint8>(bytes_[pos_ + 1]);
        pos_ += 2;
        return static_cast<quint16>((hi << 8) | lo);
    }
    quint32 Long() {
        const quint32 hi = Word();
        return (hi << 16) | Word();
    }
    QByteArray Bytes(qsizetype n) {
        Need(n);
        QByteArray out = bytes_.mid(pos_, n);
        pos_ += n;
        return out;
    }

private:
    void Need(qsizetype n) const {
        if (n < 0 || Remaining() < n)
            throw EPaletteError(ReadErrorMessage);
    }

    const QByteArray& bytes_;
    qsizetype pos_ = 0;
};

struct AcoColors {
    std::vector<TColor> Colors;
    std::vector<QString> Names;
    bool HasNames = false;
};

enum class PaletteFormat { Unknown, Pal, Aco, Act };

// By the extension, case ignored.
PaletteFormat PaletteFormatOf(const QString& fileName);

// The whole file, or EPaletteError for a missing, unreadable or oversized file.
QByteArray ReadPaletteFileBytes(const QString& fileName);

// The readers over a file's bytes. They throw EPaletteError, or EConvertError for a JASC line
// of three pieces that are not all numbers.
std::vector<TColor> ParseJASCPalette(const QByteArray& bytes);
AcoColors ParseAcoPalette(const QByteArray& bytes);
std::vector<TColor> ParseActPalette(const QByteArray& bytes);

// The same, reading the file first.
std::vector<TColor> ReadJASCPalette(const QString& fileName);
AcoColors ReadAcoPalette(const QString& fileName);
std::vector<TColor> ReadActPalette(const QString& fileName);

// The colour of one ".aco" record, by its colour space word.
TColor AcoRecordToColor(quint16 space, quint16 w1, quint16 w2, quint16 w3, quint16 w4);

// The JASC text for a grid's colour strings: the header, the count "256", one "R G B" line
// per colour, gaps and custom and transparent cells left out, lines ending in CR LF. Throws
// EConvertError for an entry that does not read as a colour.
QByteArray FormatJASCPalette(const QStringList& colors);

// Writes the JASC text to the file through a temporary file renamed over it, so a failure
// leaves any old file intact. Throws EPaletteError (or EConvertError, before anything is
// written).
void WriteJASCPalette(const QString& fileName, const QStringList& colors);

// Writes the bytes through a temporary file renamed over the old one; EPaletteError when
// that fails, the old file intact.
void WritePaletteFileBytes(const QString& fileName, const QByteArray& bytes);

} // namespace chromint
