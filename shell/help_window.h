// HelpWindow, "Voltaro Help": the user's guide, an HTML page the program carries as a resource
// (shell/help/guide.html), shown in a browser on the drawers' charcoal with the display's glass
// colours; Escape closes it. Its pictures are drawn from the skin's own bitmaps when the page asks
// for them (helpPicture), so they always show the keys the program really has; the build writes the
// same page and pictures to files, the package's HTML documentation (voltaro-help-doc).
#pragma once

#include <QImage>
#include <QStringList>
#include <QTextBrowser>
#include <QWidget>

namespace voltaro::shell {

// The page's resource path and the folder, relative to it, its pictures are named in.
inline constexpr char kHelpPage[] = ":/help/guide.html";
inline constexpr char kHelpPictureFolder[] = "pictures/";

// The pictures the guide shows, by file name ("face.png"), and each one drawn; a null image for a
// name that is not one of them.
QStringList helpPictureNames();
// At `scale` 2 each is drawn from the 2x pictures, twice the size; the page gives every picture
// its size in the window's pixels, so the browser shows it as sharp as the screen.
QImage helpPicture(const QString& fileName, int scale = 1);

// The guide's text as the page holds it; empty when the resource is missing.
QString helpPageHtml();

// Puts a window of the program's own beside `anchor` (the main window's frame, screen pixels):
// to its right when it fits on that screen, else to its left, else centred on the screen.
void placeBeside(QWidget* window, const QRect& anchor);

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

protected:
    // Pictures of the guide come from helpPicture, anything else as a text browser finds it.
    QVariant loadResource(int type, const QUrl& name) override;
};

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    HelpWindow();

    // Shows the window (a closed one at the guide's top, beside `anchor`) and brings it to the
    // front.
    void present(const QRect& anchor);

    HelpBrowser* browser() const { return browser_; }

private:
    HelpBrowser* browser_;
};

}  // namespace voltaro::shell
