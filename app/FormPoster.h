#pragma once

#include <QObject>
#include <QString>

class QWebEnginePage;

// What a stored page's forms reach through the page's channel (as the
// object "forms"): before a form with method POST is sent, the page's script
// hands over the form's action and its encoded body. The action is combined
// against the page's offline address as the handler combines links, the body
// is kept for that address (PostedForms), and the address is given back for
// the form to be sent to. It grants a page nothing that its own forms could
// not do: no program command is reachable through it.
class FormPoster : public QObject {
    Q_OBJECT

public:
    explicit FormPoster(const QWebEnginePage &page) : page_(page) {}

public slots:
    // The offline address to send the form to; empty when the page shown is
    // no stored page, the action cannot be combined or the body is too large.
    QString post(const QString &action, const QString &body);

private:
    const QWebEnginePage &page_;
};
