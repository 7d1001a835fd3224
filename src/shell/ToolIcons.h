#pragma once
// The tool bar's pictures, drawn in code at 1x and 2x. The desktop's icon theme is not asked:
// its lookup loads every image-format plugin, which the start should not wait for, and the
// pictures look the same on every desktop.
#include <QIcon>
#include <QProxyStyle>

namespace karvena {

enum class TToolPicture {
    Open,         // a folder
    List,         // the index: rows of thumbnails
    Play,         // solve it
    First,        // bar and two triangles left
    Prior,        // two triangles left
    Next,         // two triangles right
    Last,         // two triangles right and bar
    Up,           // an arrow up
    Down,         // an arrow down
    Back,         // an arrow left
    Forward,      // an arrow right
    Again,        // a circular arrow
    Tick,         // the result
    Question,     // a hint
    Try,          // a magnifying glass
    Stop,         // a square
    Sound,        // a speaker with waves
    Silent,       // a speaker struck through
    More,         // a tool bar's or menu bar's extension: a double chevron
};

QIcon ToolIcon(TToolPicture picture);

// The application's style with the pictures the bars ask of it at start-up (their extension
// buttons) drawn here, so building the window loads no image plugin.
class TTrainerStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace karvena
