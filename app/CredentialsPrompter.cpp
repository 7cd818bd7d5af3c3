#include "CredentialsPrompter.h"

#include <cstring>
#include <string>

#include <QApplication>
#include <QPointer>

#include "CredentialsDialog.h"

namespace {

void copyText(const QString &text, char *buffer) {
    const QByteArray bytes = text.toUtf8().left(ENG_CREDENTIAL_SIZE - 1);
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(bytes.size()));
    buffer[bytes.size()] = '\0';
}

// The copy of a prompt's texts that the GUI thread shows.
struct PromptCopy {
    EngCredentialsPrompt prompt;
    std::string site, realm, userName, password;

    explicit PromptCopy(const EngCredentialsPrompt &from)
        : prompt(from),
          site(from.site),
          realm(from.realm),
          userName(from.userName ? from.userName : ""),
          password(from.password ? from.password : "") {}
    EngCredentialsPrompt view() const {
        EngCredentialsPrompt shown = prompt;
        shown.site = site.c_str();
        shown.realm = realm.c_str();
        shown.userName = prompt.userName ? userName.c_str() : nullptr;
        shown.password = prompt.password ? password.c_str() : nullptr;
        return shown;
    }
};

QPointer<CredentialsDialog> openDialog;  // GUI thread only

}  // namespace

CredentialsPrompter &CredentialsPrompter::instance() {
    static CredentialsPrompter prompter;
    return prompter;
}

int32_t CredentialsPrompter::prompt(void *, const EngCredentialsPrompt *prompt, char *userName, char *password) {
    const auto typed = instance().ask(*prompt);
    if (!typed) return 0;
    copyText(typed->userName, userName);
    copyText(typed->password, password);
    return 1;
}

void CredentialsPrompter::cancel(void *, uint32_t id) { instance().close(id); }

std::optional<CredentialsPrompter::Answer> CredentialsPrompter::ask(const EngCredentialsPrompt &prompt) {
    std::unique_lock lock(mutex_);
    if (cancelled_.contains(prompt.id)) return std::nullopt;
    waiting_ = prompt.id;
    done_ = false;
    answer_.reset();
    auto copy = std::make_shared<PromptCopy>(prompt);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, copy] {
            auto *dialog = new CredentialsDialog(copy->view());
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            dialog->setWindowModality(Qt::ApplicationModal);
            const uint32_t id = copy->prompt.id;
            QObject::connect(dialog, &QDialog::finished, dialog, [this, dialog, id](int result) {
                if (result == QDialog::Accepted)
                    answer(id, Answer{dialog->userName(), dialog->password()});
                else
                    answer(id, std::nullopt);
            });
            openDialog = dialog;
            dialog->show();
        },
        Qt::QueuedConnection);
    answered_.wait(lock, [this] { return done_; });
    waiting_ = 0;
    return std::move(answer_);
}

void CredentialsPrompter::answer(uint32_t id, std::optional<Answer> typed) {
    std::lock_guard lock(mutex_);
    if (id != waiting_ || done_) return;
    answer_ = std::move(typed);
    done_ = true;
    answered_.notify_all();
}

void CredentialsPrompter::close(uint32_t id) {
    {
        std::lock_guard lock(mutex_);
        cancelled_.insert(id);  // a prompt not asked yet answers Cancel at once
    }
    answer(id, std::nullopt);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [id] {
            if (openDialog && openDialog->promptId() == id) openDialog->reject();
        },
        Qt::QueuedConnection);
}
