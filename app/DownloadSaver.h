#pragma once

class QWebEngineDownloadRequest;

// Files the browser windows download: a page saved with "Save As ..." goes
// where the user chose; a stored file that the browser cannot show (an
// archive, a program) is offered under its own name in a save dialog.
void saveDownload(QWebEngineDownloadRequest *download);
