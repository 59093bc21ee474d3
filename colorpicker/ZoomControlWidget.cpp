#include "ZoomControlWidget.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>

namespace ZelColorPickerLib {

namespace {

QIcon signIcon(const QString& resource, bool plus) {
    // An icon made from the file finds its twin for screens at 200 % by itself.
    if (QFile::exists(resource))
        return QIcon(resource);
    // Drawn when the program's images are not linked in.
    QPixmap drawn(28, 28);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(70, 70, 70), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(6, 14), QPointF(22, 14));
    if (plus)
        painter.drawLine(QPointF(14, 6), QPointF(14, 22));
    return QIcon(drawn);
}

QToolButton* zoomButton(const QString& name, const QString& resource, bool plus, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setFixedSize(24, 24);
    button->setIconSize(QSize(14, 14));
    button->setIcon(signIcon(resource, plus));
    button->setAutoRaise(true);
    return button;
}

} // namespace

ZoomControlWidget::ZoomControlWidget(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("zoomControlWidget"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_zoomInButton = zoomButton(QStringLiteral("zoomInButton"), QStringLiteral(":/images/PlusSign.png"), true, this);
    m_zoomInButton->setToolTip(tr("Zoom In"));
    m_zoomInButton->setAccessibleName(tr("Zoom In"));
    m_zoomOutButton =
        zoomButton(QStringLiteral("zoomOutButton"), QStringLiteral(":/images/MinusSign.png"), false, this);
    m_zoomOutButton->setToolTip(tr("Zoom Out"));
    m_zoomOutButton->setAccessibleName(tr("Zoom Out"));
    m_zoomSlider = new QSlider(Qt::Horizontal, this);
    m_zoomSlider->setObjectName(QStringLiteral("zoomSlider"));
    m_zoomSlider->setPageStep(1);
    m_zoomSlider->setSingleStep(1);
    m_zoomSlider->setToolTip(tr("Zoom Level"));
    m_zoomSlider->setAccessibleName(tr("Zoom Level"));

    // Zoomed out at the left, as the slider runs.
    layout->addWidget(m_zoomOutButton);
    layout->addWidget(m_zoomSlider, 1);
    layout->addWidget(m_zoomInButton);

    connect(m_zoomInButton, &QToolButton::clicked, this, &ZoomControlWidget::zoomIn);
    connect(m_zoomOutButton, &QToolButton::clicked, this, &ZoomControlWidget::zoomOut);
    connect(m_zoomSlider, &QSlider::valueChanged, this, &ZoomControlWidget::onZoomSliderChanged);
}

void ZoomControlWidget::setRange(int lowest, int highest) {
    const QSignalBlocker blocker(m_zoomSlider);
    m_zoomSlider->setRange(lowest, highest);
}

void ZoomControlWidget::setZoomLevel(int level) {
    const QSignalBlocker blocker(m_zoomSlider);
    m_zoomSlider->setValue(level);
}

int ZoomControlWidget::zoomLevel() const {
    return m_zoomSlider->value();
}

void ZoomControlWidget::zoomIn() {
    m_zoomSlider->setValue(m_zoomSlider->value() + 1);
}

void ZoomControlWidget::zoomOut() {
    m_zoomSlider->setValue(m_zoomSlider->value() - 1);
}

void ZoomControlWidget::onZoomSliderChanged(int value) {
    emit zoomLevelChanged(value);
}

} // namespace ZelColorPickerLib
