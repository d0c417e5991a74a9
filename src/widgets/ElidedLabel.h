#pragma once
#include <QLabel>

// A one-line label that gives up width before anything else in its row:
// when narrower than its text it shows the text's start and an ellipsis
// (its accessible name keeps the whole text), and it asks for
// no width of its own.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
