#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class ViewController;

// Makes a screen of the storyboard "Main" by its identifier, lays it out at
// a given size off screen, runs its appearance and grabs it as an image.
class ScreenRenderer {
public:
    // The screen `identifier` at `size`; `prepare` may fill it with sample
    // content once it is shown and laid out. A null image when the storyboard
    // cannot make the screen.
    template <typename Prepare> static QImage render(const QString& identifier, QSize size, Prepare prepare) {
        ViewController* screen = make(identifier, size);
        if (!screen)
            return {};
        show(screen);
        prepare(screen);
        return grab(screen);
    }
    static QImage render(const QString& identifier, QSize size) {
        return render(identifier, size, [](ViewController*) {});
    }

    // The smallest size the screen `identifier` lets itself be laid out at.
    static QSize minimumSize(const QString& identifier);

private:
    static ViewController* make(const QString& identifier, QSize size);
    static void show(ViewController* screen);
    static QImage grab(ViewController* screen);
};
