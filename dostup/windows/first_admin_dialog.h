// The window that creates the first administrator of a new installation.
#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;

namespace dostup {

class FirstAdministratorDialog : public QDialog {
    Q_OBJECT
public:
    explicit FirstAdministratorDialog(QWidget* parent = nullptr);

    QLineEdit* surname() const { return surname_; }
    QLineEdit* names() const { return names_; }
    QLineEdit* login() const { return login_; }
    QLineEdit* password() const { return password_; }
    QLineEdit* repeated() const { return repeated_; }
    QLabel* message() const { return message_; }
    // The code of the administrator created, once the dialog was accepted.
    std::optional<std::uint16_t> created() const { return created_; }

    void accept() override;

private:
    QLineEdit* surname_;
    QLineEdit* names_;
    QLineEdit* login_;
    QLineEdit* password_;
    QLineEdit* repeated_;
    QLabel* message_;
    std::optional<std::uint16_t> created_;
};

// Runs the dialog; the new administrator's code, or nothing when cancelled.
std::optional<std::uint16_t> runFirstAdministratorDialog();

}  // namespace dostup
