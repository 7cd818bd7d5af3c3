#pragma once

class QWebEngineView;

// The browser control's own commands that need a dialog first.
namespace page_commands {

// Asks for a file and saves the page there: as one web archive with its
// images and style sheets, or its HTML only, by the chosen type.
void saveAs(QWebEngineView &view);
// Asks for a printer and prints the page on it.
void print(QWebEngineView &view);
// Asks for a text and selects its next occurrence in the page.
void find(QWebEngineView &view);

}  // namespace page_commands
