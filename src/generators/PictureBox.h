#pragma once
#include <QLabel>
#include <QPixmap>

// A preview of a picture, shrunk to fit the box (never enlarged), with its
// proportions kept. The picture never sets the size of the window.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // A null pixmap clears the box.
    void setPicture(const QPixmap& picture);
    const QPixmap& picture() const { return m_picture; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void showScaled();
    QPixmap m_picture;
};
