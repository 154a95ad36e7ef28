#include "core/models/commandtable.h"

namespace morla {

void LoadCommandTable(MorlaState& s) {
    const QString path = s.paths().commands();
    if (!FileExists(path)) return;
    ScanRecords(path, CommandRecord.length, CommandRecord.fields, [&](int, const QStringList& f) {
        const QString code = f[1] + QStringLiteral("f");
        const QString& name = f[0];
        if (name == QStringLiteral("Lectura"))
            s.ReadCommand = code;
        else if (name == QStringLiteral("Escritura"))
            s.WriteCommand = code;
        else if (name == QStringLiteral("ResetFabrica"))
            s.FactoryResetCommand = code;
        else if (name == QStringLiteral("ResetClave"))
            s.KeyResetCommand = code;
        else if (name == QStringLiteral("Verificar"))
            s.VerifyCommand = code;
        else if (name == QStringLiteral("Colgado"))
            s.HangUpCommand = code;
        return true;
    });
}

}  // namespace morla
