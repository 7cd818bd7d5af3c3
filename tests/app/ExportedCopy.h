#pragma once

#include <QString>
#include <QStringList>

class QWebEngineView;

// Checks of an exported copy of the test site (GuiTestSite.h) on disk, as a
// user finds it: its pages' links lead to its own files, and a browser
// opening them from disk shows the site.
namespace gui_test {

// The relative links of the exported pages below the folder that lead to no
// file below it, and how many lead to one.
QStringList unresolvedLinks(const QString &folder, int *resolved);
// Fails the test when a relative link of an exported page below the folder
// leads to no file below it, or when there is no such link at all.
void expectLinksResolve(const QString &folder);
// Opens the exported page from disk in the view and checks what shows: the
// site's start page (once a start page's refresh has led there) from a file,
// with its image loaded, whose link to the second page opens the exported
// copy of that page below the folder. The picture is taken of the start page.
void expectExportedSiteBrowses(QWebEngineView &view, const QString &page, const QString &folder,
                               const QString &picture);

}  // namespace gui_test
