#include "editor/AboutDialog.h"

#include <QBoxLayout>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

#include <cmath>
#include <numbers>

// A sailboat riding the swell under a waving burgee, with a drifting cloud and a gull; one step every 50 ms,
// a swell every 3 seconds.
class SailboatPicture : public QWidget
{
public:
    explicit SailboatPicture(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("picAbout"));
        setFixedSize(132, 96);
        m_timer->setInterval(50);
        QObject::connect(m_timer, &QTimer::timeout, this, [this] {
            ++m_frame;
            update();
        });
    }

    void start() { m_timer->start(); }
    void stop() { m_timer->stop(); }
    int frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const double phase = 2 * std::numbers::pi * (m_frame % kSwellFrames) / kSwellFrames;
        paintSky(p, phase);
        paintBoat(p, phase);
        paintWave(p, 0, phase);
        paintWave(p, 1, phase);
        paintWave(p, 2, phase);
    }

private:
    static constexpr int kSwellFrames = 60;
    static constexpr double kHorizon = 56;
    static constexpr double kBoatX = 64;

    // The height of wave layer (0 farthest) at x.
    double waveY(int layer, double x, double phase) const
    {
        const double base = kHorizon + 8 + layer * 12;
        const double amplitude = 2.0 + layer * 0.7;
        const double length = 44.0 - layer * 8;
        return base + amplitude * std::sin(2 * std::numbers::pi * x / length - phase * (layer + 1));
    }

    void paintSky(QPainter& p, double phase) const
    {
        QLinearGradient sky(0, 0, 0, kHorizon);
        sky.setColorAt(0, QColor(110, 190, 235));
        sky.setColorAt(1, QColor(225, 243, 252));
        p.fillRect(QRectF(0, 0, width(), kHorizon), sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 214, 80));
        p.drawEllipse(QPointF(110, 17), 8, 8);

        // The cloud crosses the picture once every eight swells.
        const double span = width() + 50.0;
        const double cx = std::fmod(m_frame * span / (8.0 * kSwellFrames), span) - 25;
        p.setBrush(QColor(255, 255, 255, 230));
        p.drawEllipse(QPointF(cx, 24), 11, 6);
        p.drawEllipse(QPointF(cx + 9, 21), 9, 7);
        p.drawEllipse(QPointF(cx + 17, 25), 8, 5);

        // The gull beats its wings twice a swell and hangs about over the bow.
        const double flap = 3.0 * std::sin(2 * phase);
        const QPointF gull(98 + 4 * std::sin(phase), 36 + 2 * std::cos(phase));
        QPainterPath wings(gull + QPointF(-6, -1 - flap * 0.3));
        wings.quadTo(gull + QPointF(-3, -3 - flap), gull);
        wings.quadTo(gull + QPointF(3, -3 - flap), gull + QPointF(6, -1 - flap * 0.3));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(60, 60, 70), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wings);

        QLinearGradient sea(0, kHorizon, 0, height());
        sea.setColorAt(0, QColor(70, 140, 190));
        sea.setColorAt(1, QColor(25, 75, 120));
        p.fillRect(QRectF(0, kHorizon, width(), height() - kHorizon), sea);
    }

    void paintWave(QPainter& p, int layer, double phase) const
    {
        QPainterPath crest;
        crest.moveTo(0, waveY(layer, 0, phase));
        for (int x = 2; x <= width(); x += 2)
            crest.lineTo(x, waveY(layer, x, phase));
        QPainterPath body = crest;
        body.lineTo(width(), height());
        body.lineTo(0, height());
        body.closeSubpath();
        const QColor fills[] = {QColor(45, 110, 165), QColor(35, 95, 150), QColor(25, 78, 130)};
        p.setPen(Qt::NoPen);
        p.setBrush(fills[layer]);
        p.drawPath(body);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 230, 245, 200), 1.0));
        p.drawPath(crest);
    }

    // The boat, bow to the right, sits in the farthest wave (which hides its bottom) and leans with its slope.
    void paintBoat(QPainter& p, double phase) const
    {
        const double y = waveY(0, kBoatX, phase) + 2;
        const double slope = (waveY(0, kBoatX + 6, phase) - waveY(0, kBoatX - 6, phase)) / 12;
        p.save();
        p.translate(kBoatX, y);
        p.rotate(std::atan(slope) * 180 / std::numbers::pi * 0.7);

        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 242));
        QPainterPath main(QPointF(1, -44));
        main.quadTo(QPointF(-7, -24), QPointF(-19, -9));
        main.lineTo(1, -9);
        main.closeSubpath();
        p.drawPath(main);
        QPainterPath jib(QPointF(4, -41));
        jib.quadTo(QPointF(15, -22), QPointF(21, -7));
        jib.lineTo(4, -9);
        jib.closeSubpath();
        p.setBrush(QColor(238, 238, 228));
        p.drawPath(jib);

        p.setPen(QPen(QColor(90, 70, 50), 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2.5, -6), QPointF(2.5, -47));
        p.drawLine(QPointF(1, -9), QPointF(-20, -9));

        p.setPen(Qt::NoPen);
        p.setBrush(QColor(28, 40, 70));
        const QPointF hull[] = {{-23, -7}, {25, -7}, {17, 3}, {-17, 3}};
        p.drawPolygon(hull, 4);
        p.setBrush(QColor(200, 30, 45));
        p.drawRect(QRectF(-21, -5, 43, 1.5));

        paintBurgee(p, phase);
        p.restore();
    }

    // A red pennant at the masthead streaming aft, its fly rippling three times a swell.
    void paintBurgee(QPainter& p, double phase) const
    {
        const QPointF hoist(2.5, -47);
        const double length = 13;
        const double depth = 7;
        constexpr int steps = 8;
        QPolygonF edge;
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const double ripple = 1.8 * t * std::sin(3 * phase - 5 * t);
            edge << hoist + QPointF(-length * t, -depth / 2 * (1 - t) + ripple);
        }
        for (int i = steps; i >= 0; --i) {
            const double t = double(i) / steps;
            const double ripple = 1.8 * t * std::sin(3 * phase - 5 * t);
            edge << hoist + QPointF(-length * t, depth / 2 * (1 - t) + ripple);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 45));
        p.drawPolygon(edge);
        p.setBrush(Qt::white);
        p.drawEllipse(hoist + QPointF(-3.5, 0.2 * std::sin(3 * phase)), 1.4, 1.4);
    }

    QTimer* m_timer = new QTimer(this);
    int m_frame = 0;
};

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));
    // A dialog is a window of its own and would take the platform's colours; it follows its window's instead,
    // so in colour mode it shows the scheme's background.
    if (parent) {
        setPalette(parent->window()->palette());
        setFont(parent->window()->font());
    }

    m_picture = new SailboatPicture(this);
    m_picture->installEventFilter(this);

    auto* text = new QVBoxLayout;
    text->addStretch(1);
    QLabel* title = addLabel(QStringLiteral("lblTitle"), QStringLiteral("Corvane R-318 Form"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    title->setFont(big);
    text->addWidget(title);
    text->addWidget(addLabel(QStringLiteral("lblVersion"), QStringLiteral("Version ") + versionText()));
    text->addWidget(addLabel(QStringLiteral("lblPurpose"), QStringLiteral("The squadron's annual history report")));
    text->addSpacing(8);
    text->addWidget(addLabel(QStringLiteral("lblClose"), QStringLiteral("Click anywhere to close this window.")));
    text->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 16, 12);
    layout->setSpacing(14);
    layout->addWidget(m_picture);
    layout->addLayout(text);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::versionText()
{
    return versionText(QStringLiteral(R318_VERSION));
}

QString AboutDialog::versionText(const QString& projectVersion)
{
    QStringList numbers = projectVersion.split(QLatin1Char('.')).mid(0, 3);
    while (numbers.size() < 3)
        numbers << QStringLiteral("0");
    return numbers.join(QLatin1Char('.'));
}

int AboutDialog::frame() const
{
    return m_picture->frame();
}

QLabel* AboutDialog::addLabel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->installEventFilter(this);
    return label;
}

void AboutDialog::mousePressEvent(QMouseEvent*)
{
    accept();
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_picture->start();
}

void AboutDialog::hideEvent(QHideEvent* event)
{
    m_picture->stop();
    QDialog::hideEvent(event);
}
