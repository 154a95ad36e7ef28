#include "core/models/commandtable.h"

#include "core/config/configfiles.h"

namespace morla {

QString LoadCommandTable(MorlaState& s) {
    QString problem;
    ScanPresentRecords(
        s.paths().commands(), CommandRecord,
        [&](int, const QStringList& f) {
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
        },
        &problem);
    return problem;
}

}  // namespace morla
