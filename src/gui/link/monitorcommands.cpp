#include "gui/link/monitorcommands.h"

#include "gui/link/modemlink.h"
#include "gui/link/seriallink.h"
#include "gui/main/program.h"

namespace morla {

void FillMonitorCommands(Program& p) {
    QComboBox* list = p.monitor->MorComMon;
    const QString text = list->currentText();
    list->clear();
    const QString path = p.s.paths().commands();
    if (FileExists(path))
        ScanRecords(path, CommandRecord.length, CommandRecord.fields,
                    [&](int, const QStringList& f) {
                        list->addItem(f[0]);
                        return true;
                    });
    list->setCurrentIndex(-1);
    list->setEditText(text);
}

void MonitorChooseCommand(Program& p) {
    const QString name = p.monitor->MorComMon->currentText();
    ScanRecords(p.s.paths().commands(), CommandRecord.length, CommandRecord.fields,
                [&](int, const QStringList& f) {
                    if (f[0] != name) return true;
                    p.monitor->MorTexMon07->setText(f[1]);
                    return false;
                });
}

void MonitorApply(Program& p) {
    MorForMonitor& m = *p.monitor;
    const QString name = m.MorComMon->currentText();
    m.commandFound = false;
    m.commandRecordNumber = 0;
    const QString path = p.s.paths().commands();
    const int count = RecordCount(path, CommandRecord.length);
    // Walk every record, empty or not, so that "not found" means after the last one.
    for (int n = 1; n <= count; ++n) {
        m.commandRecordNumber = n;
        if (ReadRecord(path, CommandRecord, n).fields[0] == name) {
            m.commandFound = true;
            break;
        }
    }
    m.searched = true;
}

void MonitorSave(Program& p) {
    MorForMonitor& m = *p.monitor;
    const QString path = p.s.paths().commands();
    // Without a search first the record goes after the last one, as after a search that
    // found nothing; never outside the file's records.
    if (!m.searched) MonitorApply(p);
    const int number =
        m.commandFound ? m.commandRecordNumber : RecordCount(path, CommandRecord.length) + 1;
    const RecordWriteResult r = WriteRecord(
        path, CommandRecord, {m.MorComMon->currentText(), m.MorTexMon07->text(), ShortDateText()},
        number, p.s.AppFolder);
    if (!r.ok) p.msg.info(QStringLiteral("No se pudo grabar el comando: ") + r.error);
    m.commandFound = false;
    m.searched = false;
}

void MonitorCommand(Program& p) {
    MorForMonitor& m = *p.monitor;
    if (!m.MorTexMon07->text().isEmpty() &&
        m.MorComMon->currentText() != QStringLiteral("Comandos")) {
        QString command = m.MorTexMon07->text().trimmed();
        // Without a port the command goes out over the line library at once, as it would
        // go out on the port.
        if (IsModemMode(p))
            HandToLineLibrary(p, command);
        else
            StartMessage(p, command);
    } else {
        p.msg.info(QStringLiteral(" No existe Comando"));
    }
}

void WireMonitor(Program& p) {
    MorForMonitor& m = *p.monitor;
    QObject::connect(m.MorCmdMon01, &QPushButton::clicked, &p, [&p] { MonitorSave(p); });
    QObject::connect(m.MorCmdMon02, &QPushButton::clicked, &p, [&p] { MonitorApply(p); });
    QObject::connect(m.MorCmdMon03, &QPushButton::clicked, &p, [&p] { ClearMonitor(p); });
    QObject::connect(m.MorCmdMon04, &QPushButton::clicked, &p, [&p] { MonitorCommand(p); });
    QObject::connect(m.MorComMon, &QComboBox::activated, &p,
                     [&p](int) { MonitorChooseCommand(p); });
}

}  // namespace morla
