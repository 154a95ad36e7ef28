#pragma once
// Every character in and out of the port with its time, for the technician's line trace.
// Bounded: the oldest characters are dropped past the capacity. Lines are runs of one
// direction (at most 16 characters, broken by a pause), so a trace reads like the exchange.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace morla {

class LineTrace {
  public:
    enum class Direction : std::uint8_t { In, Out };
    struct Entry {
        std::int64_t ms;  // milliseconds since the epoch
        Direction direction;
        unsigned char byte;
    };

    static constexpr int kDefaultCapacity = 100000;
    static constexpr int kBytesPerLine = 16;
    static constexpr int kPauseMs = 50;  // a longer gap starts a new line

    explicit LineTrace(int capacity = kDefaultCapacity);

    void add(Direction direction, const QByteArray& bytes, std::int64_t ms);
    void clear();

    int size() const { return count_; }
    int capacity() const { return int(ring_.size()); }
    const Entry& at(int i) const;  // 0 is the oldest kept

    // Every line, from the oldest character kept.
    QStringList lines() const;
    // The complete lines from absolute position `from` (a line start, see added()): those no
    // further character can join at time `now`. Returns the position after the last of them.
    std::int64_t closedLines(std::int64_t from, std::int64_t now, QStringList* out) const;
    // Characters ever added: absolute positions survive dropping from the front.
    std::int64_t added() const { return added_; }
    std::int64_t oldest() const { return added_ - count_; }

    static QString FormatLine(const Entry* first, int count);
    // Writes every line to a text file; false with the reason on failure.
    bool save(const QString& path, QString* error) const;

  private:
    bool continues(const Entry& previous, const Entry& next, int runLength) const;
    std::int64_t scan(std::int64_t from, std::int64_t now, QStringList* out) const;

    std::vector<Entry> ring_;
    int head_ = 0;  // oldest
    int count_ = 0;
    std::int64_t added_ = 0;
};

}  // namespace morla
