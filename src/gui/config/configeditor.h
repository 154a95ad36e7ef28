#pragma once
// The model configuration editor: captions, defaults and visibility of a model's panel for one
// firmware, kept in the model's configuration file, and the equipment index beside it.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "core/config/configfiles.h"

namespace morla {

class Program;

class MorFrmConf : public QWidget {
    Q_OBJECT
  public:
    explicit MorFrmConf(Program& p, QWidget* parent = nullptr);

    QComboBox* MorComVis;
    QLineEdit *MorTexFirm, *MorTexIde, *MorTexCla, *MorTexFec;
    std::array<QLineEdit*, 20> MorTexPar, MorTexDef;
    std::array<QCheckBox*, 20> MorChkConVis;
    QGroupBox* MorFrmConRes;
    std::array<QLineEdit*, 9> MorTexRes;
    std::array<QCheckBox*, 9> MorLabConchk, ResV;
    QLineEdit *MorTexDefchk, *MorTexDefchk2, *MorTexDefchk3, *MorTxtConReg, *MorTxtConVis;
    QPushButton* MorCmdGra;

    // One "1"/"0" per check box, following the boxes.
    std::array<QString, 20> ParamVisibleFlags;
    std::array<QString, 9> RestrictorStateFlags, RestrictorVisibleFlags;

    void Load();
    void ModelChosen();
    void Grabar();

  private:
    // A flag box, its check boxes and their flags.
    struct FlagGroup {
        QLineEdit* box;
        QCheckBox** checks;
        QString* flags;
        int count;
    };
    std::array<FlagGroup, 5> flagGroups();
    void flagBoxChanged(const FlagGroup& g);
    void setFlagBoxesFromFlags();
    // Text boxes by record field (0-based).
    std::array<std::pair<int, QLineEdit*>, 52> textFields() const;
    void showRecord(const QList<QByteArray>& fields);
    QList<QByteArray> recordToSave();

    Program& p_;
    std::array<KeptField, 57> kept_;
};

}  // namespace morla
