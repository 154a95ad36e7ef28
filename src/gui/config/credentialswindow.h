#pragma once
// frmCapLogin: stores a new operator name and password in the credentials file.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

#include "core/models/state.h"

namespace morla {

class FrmCapLogin : public QDialog {
    Q_OBJECT
  public:
    // programFolder: where the credentials file lives (the program's own folder).
    FrmCapLogin(MorlaState& s, const QString& programFolder, QWidget* parent = nullptr);

    QLabel* lblUsuario;
    QLineEdit* txtUsuario;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Shows the login window; used when the window was not reached from the menus.
    std::function<void()> showLogin;
    // Reports a credentials file that could not be written.
    std::function<void(const QString&)> report;

    void Accept();  // cmdOK
    void Cancel();  // cmdCancel: the window stays

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    MorlaState& s_;
    QString folder_;
};

// Writes record 1 of the operator credentials file of a program folder.
RecordWriteResult WriteOperatorCredentials(const QString& programFolder, const QString& name,
                                           const QString& password);

}  // namespace morla
