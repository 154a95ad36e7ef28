#pragma once
// A small file system of its own over a folder (tmpfs), for tests of a full disk. Needs the
// right to mount (root); tests skip with the reason when it cannot be made.
#include <QString>

namespace morla::test {

class SmallDisk {
  public:
    // Mounts a file system of `bytes` over folder; the files already there are copied in.
    SmallDisk(const QString& folder, int bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    QString reason() const { return reason_; }  // why it could not be mounted
    // Takes up the free space, leaving about `leave` bytes (rounded to the page size).
    bool fill(qint64 leave = 0);
    qint64 available() const;

  private:
    QString folder_;
    QString aside_;
    bool mounted_ = false;
    QString reason_;
};

}  // namespace morla::test
