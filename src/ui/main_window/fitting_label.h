#pragma once

#include <QFont>
#include <QLabel>

// A one-line label that shrinks its font until the whole text fits its width, so a long number is never
// cut; a text that fits is drawn exactly as a plain label draws it.
class FittingLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The font the text is drawn in: the label's own, or a smaller one of the same family.
    QFont fittedFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
