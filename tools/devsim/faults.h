#pragma once
// Line faults a test asks for, so that the program's error paths can be driven on purpose.
#include <QList>
#include <QString>

namespace morla::devsim {

struct Faults {
    QList<int> drop;        // characters sent, counted from 1 over the whole run, left out
    QList<int> corrupt;     // characters of the first reply altered (low bit of the digit)
    int delayMs = 0;        // extra time after every character sent
    int badSumReplies = 0;  // this many first replies carry a wrong block checksum
    bool silent = false;    // nothing at all goes out, not even "T"
    int cutAfter = 0;       // every reply stops after this many characters (0: never)
    // A digit the device stores changed: map position, and the write it spoils (0: every one).
    struct Stuck {
        int position;
        int write;
    };
    QList<Stuck> stuck;
    // A "*" in a data text leaves the digit the device had in its place (a device that keeps
    // hex digits only).
    bool keepOnStar = false;
};

// Adds one "--fault" value ("drop:N", "corrupt:N", "delay:MS", "badsum:N", "silent",
// "cut:N", "stuck:N", "stuck:N:W", "keepstar") to the faults. False with a reason for anything
// else.
bool AddFault(const QString& text, Faults* faults, QString* error);

}  // namespace morla::devsim
