#pragma once
// morla-cli writing and verifying units on the simulator: one unit on one port, then one unit
// on each of four ports at the same time, against what the line allows.
#include <QList>
#include <QString>

namespace morla::bench {

struct CliFigure {
    QString figure;
    double value = 0, baseline = 0;
    QString unit;
    double limit = 0;  // the ratio must stay at or below; 0: none
    QString note;
};

// `runs` of each; the medians go in the figures.
QList<CliFigure> CliSeriesFigures(int runs);

}  // namespace morla::bench
