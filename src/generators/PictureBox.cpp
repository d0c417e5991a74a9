#include "generators/PictureBox.h"

#include <QResizeEvent>

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::StyledPanel);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

void PictureBox::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    showScaled();
}

void PictureBox::resizeEvent(QResizeEvent* e)
{
    QLabel::resizeEvent(e);
    showScaled();
}

void PictureBox::showScaled()
{
    if (m_picture.isNull()) {
        clear();
        return;
    }
    const QSize room = contentsRect().size();
    if (m_picture.width() <= room.width() && m_picture.height() <= room.height())
        setPixmap(m_picture);
    else
        setPixmap(m_picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
