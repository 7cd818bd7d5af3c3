#include "KivSchemeHandler.h"

#include <QWebEngineUrlRequestJob>

#include "KivJob.h"

void KivSchemeHandler::requestStarted(QWebEngineUrlRequestJob *job) { (new KivJob(job))->start(); }
