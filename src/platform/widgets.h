// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Inside the platform: the Qt widgets behind windows and controls. They only
// show the surfaces and turn Qt's events into the framework's.
#pragma once

#include <QPainter>
#include <QRect>
#include <QWidget>

namespace platform {
class Canvas;
class RectControl;
class Window;
} // namespace platform

namespace platform::detail {

// What a control that keeps no pixels draws on: the painter of its widget's
// paint event and the area (in the control's pixels) to be drawn.
struct ScreenArea {
    QPainter& painter;
    QRect area;
};

class ControlWidget : public QWidget {
    Q_OBJECT
public:
    ControlWidget(RectControl& control, QWidget* parent);
    ~ControlWidget() override;

    // Set when the surface covers every pixel: Qt then skips what lies behind.
    void setOpaque(bool opaque);
    // Called by a canvas: it gets the pointer's events, also without a button held.
    void takePointer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] Canvas* canvas() const;

    RectControl& control_;
    bool pressClaimed_ = false;
};

class WindowWidget : public QWidget {
    Q_OBJECT
public:
    explicit WindowWidget(Window& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Window& window_;
    bool painted_ = false; // the first frame has been painted
};

} // namespace platform::detail
