// Paints the game's pictures and writes them as PNG files into the folder
// given on the command line. Every picture is painted twice from the same
// drawing code: once at its natural size (name.png) and once at double
// resolution (name@2x.png), so the high-density version is really drawn,
// not enlarged. Textures come from seeded noise, so a rerun reproduces the
// same files.
//
// Fonts are asked for by family name: "Lato" (Black) and "Liberation Sans".

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

constexpr double kPi = 3.14159265358979323846;

// ------------------------------------------------------------------ noise

double hash01(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u
        + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / 16777216.0;
}

double smooth(double t) { return t * t * (3.0 - 2.0 * t); }

double valueNoise(double x, double y, std::uint32_t seed)
{
    int xi = static_cast<int>(std::floor(x));
    int yi = static_cast<int>(std::floor(y));
    double fx = smooth(x - xi), fy = smooth(y - yi);
    double a = hash01(xi, yi, seed), b = hash01(xi + 1, yi, seed);
    double c = hash01(xi, yi + 1, seed), d = hash01(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) * (1.0 - fy) + (c + (d - c) * fx) * fy;
}

// Fractal noise in [0, 1].
double fbm(double x, double y, std::uint32_t seed, int octaves = 5)
{
    double sum = 0.0, amp = 0.5, norm = 0.0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise(x, y, seed + 17u * o);
        norm += amp;
        x *= 2.03;
        y *= 2.03;
        amp *= 0.5;
    }
    return sum / norm;
}

// Small deterministic generator for placing stars and the like.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : s_(seed) {}
    double uniform(double lo, double hi)
    {
        s_ = s_ * 1664525u + 1013904223u;
        return lo + (hi - lo) * ((s_ >> 8) / 16777216.0);
    }

private:
    std::uint32_t s_;
};

int clamp255(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

QColor mix(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor(clamp255(a.red() + (b.red() - a.red()) * t), clamp255(a.green() + (b.green() - a.green()) * t),
                  clamp255(a.blue() + (b.blue() - a.blue()) * t));
}

// Fills every device pixel of img whose centre, in picture coordinates,
// passes `inside`, with the colour that `shade` gives for that point.
void paintPixels(QImage& img, double scale, const std::function<bool(double, double)>& inside,
                 const std::function<QColor(double, double)>& shade)
{
    for (int py = 0; py < img.height(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(py));
        for (int px = 0; px < img.width(); ++px) {
            double x = (px + 0.5) / scale, y = (py + 0.5) / scale;
            if (!inside(x, y))
                continue;
            line[px] = shade(x, y).rgb();
        }
    }
}

// ------------------------------------------------------------------ fonts

QFont font(const char* family, int weight, double pixelSize)
{
    QFont f(QString::fromLatin1(family));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    f.setStyleStrategy(QFont::PreferAntialias);
    f.setHintingPreference(QFont::PreferNoHinting);
    QFontInfo info(f);
    if (info.family() != QString::fromLatin1(family)) {
        std::fprintf(stderr, "font family %s is not installed (got %s)\n", family, qPrintable(info.family()));
        std::exit(1);
    }
    return f;
}

QFont lato(double pixelSize) { return font("Lato", QFont::Black, pixelSize); }
QFont sans(double pixelSize, int weight = QFont::Bold) { return font("Liberation Sans", weight, pixelSize); }

QPainterPath textPathCentred(const QFont& f, const QString& text, double centreX, double baseline)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), f, text);
    QRectF r = path.boundingRect();
    path.translate(centreX - r.center().x(), baseline);
    return path;
}

QPainterPath textPathRightAligned(const QFont& f, const QString& text, double right, double baseline)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), f, text);
    QRectF r = path.boundingRect();
    path.translate(right - r.right(), baseline);
    return path;
}

// ------------------------------------------------------------------ motifs

QPainterPath batPath(QPointF c, double span)
{
    const double s = span / 2.0;
    QPainterPath p;
    p.moveTo(c + QPointF(0, -0.10 * s));
    // right wing: upper edge out to the tip, then three scallops back
    p.quadTo(c + QPointF(0.45 * s, -0.45 * s), c + QPointF(1.0 * s, -0.22 * s));
    p.quadTo(c + QPointF(0.85 * s, -0.02 * s), c + QPointF(0.78 * s, 0.12 * s));
    p.quadTo(c + QPointF(0.62 * s, 0.0 * s), c + QPointF(0.48 * s, 0.12 * s));
    p.quadTo(c + QPointF(0.34 * s, 0.0 * s), c + QPointF(0.18 * s, 0.18 * s));
    p.quadTo(c + QPointF(0.08 * s, 0.12 * s), c + QPointF(0, 0.28 * s));
    // left wing, mirrored
    p.quadTo(c + QPointF(-0.08 * s, 0.12 * s), c + QPointF(-0.18 * s, 0.18 * s));
    p.quadTo(c + QPointF(-0.34 * s, 0.0 * s), c + QPointF(-0.48 * s, 0.12 * s));
    p.quadTo(c + QPointF(-0.62 * s, 0.0 * s), c + QPointF(-0.78 * s, 0.12 * s));
    p.quadTo(c + QPointF(-0.85 * s, -0.02 * s), c + QPointF(-1.0 * s, -0.22 * s));
    p.quadTo(c + QPointF(-0.45 * s, -0.45 * s), c + QPointF(0, -0.10 * s));
    p.closeSubpath();
    // head with ears
    QPainterPath head;
    head.moveTo(c + QPointF(-0.10 * s, -0.05 * s));
    head.lineTo(c + QPointF(-0.11 * s, -0.30 * s));
    head.lineTo(c + QPointF(-0.04 * s, -0.17 * s));
    head.lineTo(c + QPointF(0.04 * s, -0.17 * s));
    head.lineTo(c + QPointF(0.11 * s, -0.30 * s));
    head.lineTo(c + QPointF(0.10 * s, -0.05 * s));
    head.quadTo(c + QPointF(0, 0.12 * s), c + QPointF(-0.10 * s, -0.05 * s));
    return p.united(head);
}

void drawBat(QPainter& p, QPointF c, double span, const QColor& body, bool eyes = true)
{
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(batPath(c, span));
    if (eyes) {
        const double s = span / 2.0;
        p.setBrush(QColor(255, 210, 60));
        p.drawEllipse(c + QPointF(-0.045 * s, -0.13 * s), 0.028 * s + 0.25, 0.028 * s + 0.25);
        p.drawEllipse(c + QPointF(0.045 * s, -0.13 * s), 0.028 * s + 0.25, 0.028 * s + 0.25);
    }
}

QPainterPath tombstonePath(QRectF r)
{
    QPainterPath p;
    const double w = r.width();
    p.moveTo(r.left(), r.bottom());
    p.lineTo(r.left(), r.top() + w / 2.0);
    p.arcTo(QRectF(r.left(), r.top(), w, w), 180.0, -180.0);
    p.lineTo(r.right(), r.bottom());
    p.closeSubpath();
    return p;
}

void drawTombstone(QPainter& p, QRectF r, const QColor& stone, const QString& engraving = {},
                   double tilt = 0.0)
{
    p.save();
    p.translate(r.center().x(), r.bottom());
    p.rotate(tilt);
    p.translate(-r.center().x(), -r.bottom());
    QPainterPath path = tombstonePath(r);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0.0, stone.lighter(125));
    g.setColorAt(0.6, stone);
    g.setColorAt(1.0, stone.darker(150));
    p.setBrush(g);
    p.setPen(QPen(stone.darker(260), std::max(0.6, r.width() / 28.0)));
    p.drawPath(path);
    if (!engraving.isEmpty()) {
        QFont f = sans(r.width() * 0.30);
        QPainterPath t = textPathCentred(f, engraving, r.center().x(), r.top() + r.width() * 0.62);
        p.setPen(Qt::NoPen);
        p.setBrush(stone.darker(220));
        p.drawPath(t);
    }
    p.restore();
}

void drawCross(QPainter& p, QPointF base, double h, const QColor& c, double tilt = 0.0)
{
    p.save();
    p.translate(base);
    p.rotate(tilt);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    const double w = h * 0.16;
    p.drawRect(QRectF(-w / 2, -h, w, h));
    p.drawRect(QRectF(-h * 0.34, -h * 0.78, h * 0.68, w));
    p.restore();
}

// A skull, centred on c with the cranium `size` wide. `wink` closes the
// right eye into a cheeky arc.
void drawSkull(QPainter& p, QPointF c, double size, bool wink, const QColor& bone = QColor(236, 228, 206))
{
    const double s = size;
    const QColor ink(45, 30, 30);
    p.save();
    QPainterPath head;
    head.addEllipse(QRectF(c.x() - s / 2, c.y() - s * 0.55, s, s * 0.86));
    QPainterPath jaw;
    jaw.addRoundedRect(QRectF(c.x() - s * 0.30, c.y() + 0.05 * s, s * 0.60, s * 0.36), s * 0.12, s * 0.12);
    QPainterPath skull = head.united(jaw);
    QRadialGradient g(c + QPointF(-0.18 * s, -0.25 * s), s * 0.9);
    g.setColorAt(0.0, bone.lighter(112));
    g.setColorAt(0.6, bone);
    g.setColorAt(1.0, bone.darker(150));
    p.setBrush(g);
    p.setPen(QPen(ink, std::max(0.5, s * 0.045)));
    p.drawPath(skull);
    // eye sockets
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QRectF(c.x() - s * 0.34, c.y() - s * 0.18, s * 0.26, s * 0.24));
    if (wink) {
        QPen pen(ink, std::max(0.7, s * 0.07), Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.moveTo(c + QPointF(s * 0.08, -s * 0.04));
        arc.quadTo(c + QPointF(s * 0.21, -s * 0.17), c + QPointF(s * 0.34, -s * 0.04));
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
    } else {
        p.drawEllipse(QRectF(c.x() + s * 0.08, c.y() - s * 0.18, s * 0.26, s * 0.24));
    }
    // nose
    QPainterPath nose;
    nose.moveTo(c + QPointF(0, s * 0.05));
    nose.lineTo(c + QPointF(-s * 0.07, s * 0.17));
    nose.lineTo(c + QPointF(s * 0.07, s * 0.17));
    nose.closeSubpath();
    p.setBrush(ink);
    p.drawPath(nose);
    // grin and teeth
    QPen teeth(ink, std::max(0.45, s * 0.035));
    p.setPen(teeth);
    p.setBrush(Qt::NoBrush);
    QPainterPath grin;
    grin.moveTo(c + QPointF(-s * 0.22, s * 0.25));
    grin.quadTo(c + QPointF(0, s * 0.34), c + QPointF(s * 0.22, s * 0.25));
    p.drawPath(grin);
    for (int k = -2; k <= 2; ++k) {
        double x = c.x() + k * s * 0.085;
        p.drawLine(QPointF(x, c.y() + s * 0.23), QPointF(x, c.y() + s * 0.37));
    }
    p.restore();
}

void drawCrown(QPainter& p, QPointF baseCentre, double width)
{
    const double w = width, h = width * 0.55;
    QPainterPath crown;
    const double l = baseCentre.x() - w / 2, b = baseCentre.y();
    crown.moveTo(l, b);
    crown.lineTo(l - w * 0.04, b - h);
    crown.lineTo(l + w * 0.25, b - h * 0.45);
    crown.lineTo(l + w * 0.5, b - h * 1.15);
    crown.lineTo(l + w * 0.75, b - h * 0.45);
    crown.lineTo(l + w * 1.04, b - h);
    crown.lineTo(l + w, b);
    crown.closeSubpath();
    QLinearGradient g(QPointF(l, b - h), QPointF(l, b));
    g.setColorAt(0.0, QColor(255, 236, 120));
    g.setColorAt(1.0, QColor(200, 140, 20));
    p.setBrush(g);
    p.setPen(QPen(QColor(90, 55, 0), std::max(0.5, w * 0.03)));
    p.drawPath(crown);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 40));
    p.drawEllipse(QPointF(baseCentre.x(), b - h * 0.35), w * 0.07, w * 0.07);
    p.setBrush(QColor(60, 140, 255));
    p.drawEllipse(QPointF(l + w * 0.22, b - h * 0.2), w * 0.05, w * 0.05);
    p.drawEllipse(QPointF(l + w * 0.78, b - h * 0.2), w * 0.05, w * 0.05);
    p.setBrush(QColor(255, 250, 200));
    for (double fx : {-0.04, 0.5, 1.04})
        p.drawEllipse(QPointF(l + w * fx, b - h * (fx == 0.5 ? 1.15 : 1.0)), w * 0.05, w * 0.05);
}

void drawCobweb(QPainter& p, QPointF corner, double radius, double startDeg, double spanDeg,
                const QColor& silk, double width)
{
    const int spokes = 6;
    std::vector<QPointF> dirs;
    for (int k = 0; k < spokes; ++k) {
        double a = (startDeg + spanDeg * k / (spokes - 1)) * kPi / 180.0;
        dirs.emplace_back(std::cos(a), std::sin(a));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(silk, width, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF& d : dirs)
        p.drawLine(corner, corner + d * radius);
    for (int ring = 1; ring <= 4; ++ring) {
        double r = radius * ring / 4.6;
        QPainterPath path;
        path.moveTo(corner + dirs[0] * r);
        for (int k = 1; k < spokes; ++k) {
            QPointF a = corner + dirs[k - 1] * r, b = corner + dirs[k] * r;
            QPointF mid = (a + b) / 2.0;
            QPointF sag = corner + (mid - corner) * 0.86; // threads sag towards the centre
            path.quadTo(sag, b);
        }
        p.drawPath(path);
    }
}

void drawSpider(QPainter& p, QPointF c, double size, QPointF hangFrom)
{
    p.setPen(QPen(QColor(230, 230, 235, 170), size * 0.06));
    p.drawLine(hangFrom, c);
    p.setPen(QPen(QColor(20, 16, 20), size * 0.09, Qt::SolidLine, Qt::RoundCap));
    for (int side : {-1, 1})
        for (int k = 0; k < 4; ++k) {
            double y = c.y() - size * 0.15 + k * size * 0.12;
            QPainterPath leg;
            leg.moveTo(c.x(), y);
            leg.quadTo(c.x() + side * size * 0.45, y - size * 0.3, c.x() + side * size * 0.6, y + size * 0.2);
            p.drawPath(leg);
        }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 16, 20));
    p.drawEllipse(c + QPointF(0, size * 0.08), size * 0.26, size * 0.30);
    p.drawEllipse(c + QPointF(0, -size * 0.22), size * 0.16, size * 0.15);
    p.setBrush(QColor(255, 60, 60));
    p.drawEllipse(c + QPointF(-size * 0.06, -size * 0.24), size * 0.045, size * 0.045);
    p.drawEllipse(c + QPointF(size * 0.06, -size * 0.24), size * 0.045, size * 0.045);
}

// A little sheet ghost, `h` tall, leaning by `lean` degrees.
void drawGhost(QPainter& p, QPointF top, double h, double lean)
{
    const double w = h * 0.72;
    p.save();
    p.translate(top);
    p.rotate(lean);
    QPainterPath g;
    g.moveTo(-w / 2, h * 0.45);
    g.arcTo(QRectF(-w / 2, 0, w, w), 180, -180);
    g.lineTo(w / 2, h * 0.86);
    // wavy hem
    const int waves = 3;
    for (int k = 0; k < waves; ++k) {
        double x0 = w / 2 - w * k / waves, x1 = w / 2 - w * (k + 1) / waves;
        g.quadTo((x0 + x1) / 2, h * (k % 2 ? 0.80 : 1.08), x1, h * 0.86);
    }
    g.closeSubpath();
    QLinearGradient fill(QPointF(0, 0), QPointF(0, h));
    fill.setColorAt(0.0, QColor(250, 250, 255, 235));
    fill.setColorAt(1.0, QColor(215, 220, 240, 150));
    p.setBrush(fill);
    p.setPen(QPen(QColor(60, 50, 80, 160), std::max(0.4, h * 0.03)));
    p.drawPath(g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 24, 40));
    p.drawEllipse(QPointF(-w * 0.16, h * 0.30), w * 0.08, w * 0.11);
    p.drawEllipse(QPointF(w * 0.16, h * 0.30), w * 0.08, w * 0.11);
    p.drawEllipse(QPointF(0, h * 0.50), w * 0.07, w * 0.10);
    p.setBrush(QColor(255, 140, 160, 110));
    p.drawEllipse(QPointF(-w * 0.30, h * 0.42), w * 0.07, w * 0.05);
    p.drawEllipse(QPointF(w * 0.30, h * 0.42), w * 0.07, w * 0.05);
    p.restore();
}

void drawMoon(QPainter& p, QPointF c, double r)
{
    QRadialGradient glow(c, r * 2.2);
    glow.setColorAt(0.0, QColor(255, 250, 210, 120));
    glow.setColorAt(0.45, QColor(230, 235, 200, 50));
    glow.setColorAt(1.0, QColor(200, 210, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, r * 2.2, r * 2.2);
    QRadialGradient body(c + QPointF(-r * 0.3, -r * 0.3), r * 1.3);
    body.setColorAt(0.0, QColor(255, 252, 225));
    body.setColorAt(1.0, QColor(222, 214, 160));
    p.setBrush(body);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(185, 175, 125, 120));
    p.drawEllipse(c + QPointF(r * 0.30, -r * 0.25), r * 0.22, r * 0.20);
    p.drawEllipse(c + QPointF(-r * 0.35, r * 0.30), r * 0.16, r * 0.15);
    p.drawEllipse(c + QPointF(r * 0.15, r * 0.45), r * 0.10, r * 0.10);
    p.drawEllipse(c + QPointF(-r * 0.15, -r * 0.45), r * 0.09, r * 0.08);
}

// ------------------------------------------------------------------ board

// Layout of the main window background, in pixels of the 1x picture.
constexpr int kBoardW = 623, kBoardH = 559;
constexpr double kFieldL = 34, kFieldT = 35, kFieldR = 589, kFieldB = 494;
constexpr int kPostX0 = 47, kPostY0 = 42, kPostDX = 75, kPostDY = 63;

QColor marble(double x, double y)
{
    // Broad soft veins bent by turbulence, a few fine dark cracks, and
    // cloudy patches in the body of the stone.
    double turb = fbm(x / 70.0, y / 70.0, 11u);
    double broad = 0.5 + 0.5 * std::sin(x * 0.030 + y * 0.022 + 9.0 * turb);
    double soft = std::pow(broad, 5.0);
    double fineTurb = fbm(x / 28.0, y / 28.0, 23u);
    double v2 = std::sin(x * -0.018 + y * 0.041 + 7.0 * fineTurb);
    double crack = std::pow(1.0 - std::fabs(v2), 26.0);
    double cloud = fbm(x / 20.0, y / 20.0, 5u);
    QColor base = mix(QColor(84, 76, 100), QColor(132, 124, 146), cloud * 1.4 - 0.2);
    base = mix(base, QColor(206, 200, 218), soft * 0.75);
    base = mix(base, QColor(40, 32, 50), crack * 0.55);
    return base;
}

QColor fieldStone(double x, double y)
{
    double n = fbm(x / 38.0, y / 38.0, 101u);
    double fine = valueNoise(x / 1.7, y / 1.7, 202u);
    double mist = fbm(x / 140.0 + 0.3 * std::sin(y / 50.0), y / 45.0, 303u);
    double g = 146.0 + 26.0 * (n - 0.5) + 5.0 * (fine - 0.5);
    g += 22.0 * std::max(0.0, mist - 0.45); // drifting mist lightens the stone
    // Darken gently towards the frame.
    double dx = std::min(x - kFieldL, kFieldR - x), dy = std::min(y - kFieldT, kFieldB - y);
    double edge = std::min(dx, dy);
    g -= 18.0 * std::exp(-edge / 6.0);
    return QColor(clamp255(g - 3), clamp255(g), clamp255(g + 4));
}

void drawPlaque(QPainter& p, QRectF r, double radius, const QColor& face)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRoundedRect(r.translated(1.0, 1.2), radius, radius);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, face.lighter(108));
    g.setColorAt(1.0, face.darker(106));
    p.setBrush(g);
    p.setPen(QPen(face.darker(170), 1.0));
    p.drawRoundedRect(r, radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.2, 1.2, -1.2, -1.2), radius - 1, radius - 1);
}

void drawCaption(QPainter& p, const QString& text, double right, double baseline, const QColor& fill)
{
    QFont f = lato(21);
    QPainterPath path = textPathRightAligned(f, text, right, baseline);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 90), 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path.translated(1.0, 1.3));
    p.setPen(QPen(QColor(205, 18, 18), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    QRectF b = path.boundingRect();
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    g.setColorAt(0.0, fill.lighter(135));
    g.setColorAt(1.0, fill);
    p.setBrush(g);
    p.drawPath(path);
}

void paintBoard(QImage& img, double scale)
{
    auto inField = [](double x, double y) { return x >= kFieldL && x < kFieldR && y >= kFieldT && y < kFieldB; };
    paintPixels(img, scale, [](double, double) { return true; },
                [&](double x, double y) { return inField(x, y) ? fieldStone(x, y) : marble(x, y); });

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);

    // Bevels: the outer edge of the frame stands up, the field sits sunk in.
    p.setBrush(Qt::NoBrush);
    const QRectF outer(0, 0, kBoardW, kBoardH - 2);
    p.setPen(QPen(QColor(255, 255, 255, 110), 2.0));
    p.drawLine(QPointF(1, 1), QPointF(kBoardW - 1, 1));
    p.drawLine(QPointF(1, 1), QPointF(1, outer.bottom() - 1));
    p.setPen(QPen(QColor(0, 0, 0, 120), 2.0));
    p.drawLine(QPointF(1, outer.bottom() - 1), QPointF(kBoardW - 1, outer.bottom() - 1));
    p.drawLine(QPointF(kBoardW - 1, 1), QPointF(kBoardW - 1, outer.bottom() - 1));
    const QRectF field(kFieldL, kFieldT, kFieldR - kFieldL, kFieldB - kFieldT);
    p.setPen(QPen(QColor(20, 14, 26, 170), 2.0));
    p.drawLine(field.topLeft() + QPointF(-1, -1), field.topRight() + QPointF(1, -1));
    p.drawLine(field.topLeft() + QPointF(-1, -1), field.bottomLeft() + QPointF(-1, 1));
    p.setPen(QPen(QColor(255, 255, 255, 120), 2.0));
    p.drawLine(field.bottomLeft() + QPointF(-1, 1), field.bottomRight() + QPointF(1, 1));
    p.drawLine(field.topRight() + QPointF(1, -1), field.bottomRight() + QPointF(1, 1));

    // Light plaque for the turn and message line at the top left, long enough for the longest verdict
    // ("Pemenangnya adalah / Master Kubur is Daviz Edezo" ends near x = 337).
    drawPlaque(p, QRectF(11, 9, 338, 24), 6, QColor(226, 218, 196));

    // Top border: moon and bats.
    drawMoon(p, QPointF(470, 17), 11);
    drawBat(p, QPointF(380, 14), 16, QColor(28, 20, 34));
    drawBat(p, QPointF(520, 12), 18, QColor(28, 20, 34));
    drawBat(p, QPointF(548, 21), 12, QColor(28, 20, 34), false);
    drawGhost(p, QPointF(420, 5), 24, -12);

    // Cobweb in the top right corner, with its owner.
    drawCobweb(p, QPointF(kBoardW - 1, 1), 46, 90, 90, QColor(240, 240, 245, 170), 0.7);
    drawSpider(p, QPointF(599, 27), 9, QPointF(599, 3));
    // A smaller web in the bottom left corner of the field frame.
    drawCobweb(p, QPointF(1, 492), 30, -90, 90, QColor(240, 240, 245, 120), 0.6);

    // Side borders: a winking skull on the left, a tombstone on the right.
    drawSkull(p, QPointF(17, 258), 22, true);
    drawTombstone(p, QRectF(595, 246, 22, 30), QColor(150, 150, 158), QStringLiteral("RIP"));

    // Bottom strip: a little graveyard skyline along the field.
    const QColor silhouette(40, 32, 50);
    Rng rng(4242u);
    for (double x = 8; x < 612; x += rng.uniform(22, 34)) {
        if (x > 430 && x < 440)
            continue;
        double h = rng.uniform(8, 13);
        double w = h * 0.72;
        if (rng.uniform(0, 1) < 0.35)
            drawCross(p, QPointF(x, 511), h + 2, silhouette, rng.uniform(-8, 8));
        else {
            p.setPen(Qt::NoPen);
            p.setBrush(silhouette);
            p.save();
            p.translate(x, 511);
            p.rotate(rng.uniform(-6, 6));
            p.drawPath(tombstonePath(QRectF(-w / 2, -h, w, h)));
            p.restore();
        }
    }
    p.setPen(QPen(silhouette, 1.2));
    p.drawLine(QPointF(3, 511), QPointF(kBoardW - 3, 511));

    // Score plaques (the program writes the scores on them in black).
    drawPlaque(p, QRectF(132, 514, 102, 42), 7, QColor(232, 224, 204));
    drawPlaque(p, QRectF(332, 514, 102, 42), 7, QColor(232, 224, 204));

    // Captions of the two sides.
    drawCaption(p, QStringLiteral("Player 1"), 127, 545, QColor(25, 95, 245));
    drawCaption(p, QStringLiteral("Lawan"), 327, 545, QColor(70, 190, 60));
    drawSkull(p, QPointF(254, 534), 17, true);

    // Dark field behind the clock.
    const QRectF clock(440, 520, 170, 37);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(clock.translated(1, 1.3), 9, 9);
    QLinearGradient cg(clock.topLeft(), clock.bottomLeft());
    cg.setColorAt(0.0, QColor(46, 36, 58));
    cg.setColorAt(1.0, QColor(18, 12, 26));
    p.setBrush(cg);
    p.setPen(QPen(QColor(200, 190, 210), 1.2));
    p.drawRoundedRect(clock, 9, 9);
    p.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(clock.adjusted(2, 2, -2, -2), 7, 7);

    // Posts: red dots centred on the lattice points (a pixel's centre is at +0.5).
    // The line bars leave only 3.5 px free on the left of a post, so the dot,
    // outline included, stays within that radius.
    for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) {
            QPointF c(kPostX0 + kPostDX * i + 0.5, kPostY0 + kPostDY * j + 0.5);
            QRadialGradient g(c, 3.5);
            g.setColorAt(0.0, QColor(255, 70, 55));
            g.setColorAt(0.6, QColor(220, 20, 20));
            g.setColorAt(1.0, QColor(150, 0, 0));
            p.setBrush(g);
            p.setPen(QPen(QColor(70, 0, 0), 0.8));
            p.drawEllipse(c, 3.1, 3.1);
        }
}

// ------------------------------------------------------------------ lines

struct BarColours {
    QColor light, top, bottom, dark;
};

const BarColours kBlueBar{QColor(140, 180, 255), QColor(50, 105, 235), QColor(22, 62, 185), QColor(8, 24, 95)};
const BarColours kGreenBar{QColor(215, 255, 205), QColor(130, 235, 115), QColor(82, 196, 72), QColor(28, 105, 30)};

// A bevelled bar filling the picture: light top and left edge, dark bottom and
// right edge, a soft gradient across the thickness in between.
void paintBar(QImage& img, double scale, bool horizontal, const BarColours& c)
{
    QPainter p(&img);
    p.scale(scale, scale);
    const double w = img.width() / scale, h = img.height() / scale;
    QLinearGradient g(QPointF(0, 0), horizontal ? QPointF(0, h) : QPointF(w, 0));
    g.setColorAt(0.0, c.top);
    g.setColorAt(1.0, c.bottom);
    p.fillRect(QRectF(0, 0, w, h), g);
    // a faint shine along the bar
    QColor shine(255, 255, 255, 60);
    if (horizontal)
        p.fillRect(QRectF(2, 2, w - 4, 1), shine);
    else
        p.fillRect(QRectF(2, 2, 1, h - 4), shine);
    // the bevel
    p.fillRect(QRectF(0, 0, w, 1), c.light);
    p.fillRect(QRectF(0, 0, 1, h), c.light);
    p.fillRect(QRectF(0, h - 1, w, 1), c.dark);
    p.fillRect(QRectF(w - 1, 0, 1, h), c.dark);
}

// ------------------------------------------------------------------ discs

struct DiscColours {
    QColor shine, mid, rim, ink;
};

const DiscColours kBlueDisc{QColor(175, 215, 255), QColor(45, 110, 235), QColor(10, 35, 120), QColor(8, 22, 70)};
const DiscColours kGreenDisc{QColor(215, 255, 200), QColor(95, 205, 80), QColor(25, 105, 30), QColor(12, 60, 16)};

// A glossy orb with a little ghost face on a transparent ground.
void paintDisc(QImage& img, double scale, const DiscColours& c)
{
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QPointF centre(26.5, 24.5);
    const double r = 21.5;
    // soft shadow
    QRadialGradient sh(centre + QPointF(1.2, 2.0), r + 1.5);
    sh.setColorAt(0.85, QColor(0, 0, 0, 90));
    sh.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sh);
    p.drawEllipse(centre + QPointF(1.2, 2.0), r + 1.5, r + 1.5);
    // body
    QRadialGradient body(centre + QPointF(-7, -8), r * 1.55);
    body.setColorAt(0.0, c.shine);
    body.setColorAt(0.45, c.mid);
    body.setColorAt(1.0, c.rim);
    p.setBrush(body);
    p.setPen(QPen(c.ink, 1.0));
    p.drawEllipse(centre, r, r);
    // ghost face: hollow eyes and an astonished mouth
    p.setPen(Qt::NoPen);
    QColor ink = c.ink;
    ink.setAlpha(200);
    p.setBrush(ink);
    p.drawEllipse(QRectF(centre.x() - 9.5, centre.y() - 6, 6, 8));
    p.drawEllipse(QRectF(centre.x() + 3.5, centre.y() - 6, 6, 8));
    p.drawEllipse(QRectF(centre.x() - 2.6, centre.y() + 5, 5.2, 6.5));
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QPointF(centre.x() - 5.6, centre.y() - 3.6), 1.2, 1.2);
    p.drawEllipse(QPointF(centre.x() + 7.4, centre.y() - 3.6), 1.2, 1.2);
    // specular highlight
    QRadialGradient hl(centre + QPointF(-8, -11), 9);
    hl.setColorAt(0.0, QColor(255, 255, 255, 210));
    hl.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(hl);
    p.drawEllipse(centre + QPointF(-8, -11), 9, 6);
}

// ------------------------------------------------------------------ icon

void paintIcon(QImage& img, double scale)
{
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    // night-purple roundel behind the stone
    QRadialGradient bg(QPointF(16, 14), 17);
    bg.setColorAt(0.0, QColor(80, 60, 120));
    bg.setColorAt(1.0, QColor(25, 16, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    // tombstone
    QRectF stone(6, 3, 20, 25);
    QLinearGradient g(stone.topLeft(), stone.topRight());
    g.setColorAt(0.0, QColor(215, 215, 222));
    g.setColorAt(1.0, QColor(130, 130, 142));
    p.setBrush(g);
    p.setPen(QPen(QColor(35, 30, 45), 1.0));
    p.drawPath(tombstonePath(stone));
    // grass
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 120, 50));
    p.drawRoundedRect(QRectF(3, 26.5, 26, 4), 2, 2);
    // the lattice on the stone: claimed lines and a won square
    const double xs[3] = {10, 16, 22}, ys[3] = {10, 16, 22}; // on pixel edges: crisp 2 px lines
    p.setBrush(QColor(70, 130, 245));
    p.drawEllipse(QPointF((xs[0] + xs[1]) / 2, (ys[0] + ys[1]) / 2), 2.0, 2.0);
    p.setPen(QPen(QColor(25, 70, 215), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(xs[0], ys[0]), QPointF(xs[1], ys[0]));
    p.drawLine(QPointF(xs[0], ys[0]), QPointF(xs[0], ys[1]));
    p.drawLine(QPointF(xs[0], ys[1]), QPointF(xs[1], ys[1]));
    p.drawLine(QPointF(xs[1], ys[1]), QPointF(xs[2], ys[1]));
    p.setPen(QPen(QColor(50, 175, 40), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(xs[1], ys[0]), QPointF(xs[1], ys[1]));
    p.drawLine(QPointF(xs[2], ys[1]), QPointF(xs[2], ys[2]));
    p.drawLine(QPointF(xs[0], ys[2]), QPointF(xs[1], ys[2]));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 10, 10));
    for (double y : ys)
        for (double x : xs)
            p.drawEllipse(QPointF(x, y), 1.25, 1.25);
}

// ------------------------------------------------------------------ winner

// Drips of paint hanging from the lower edge of a text outline.
void addDrips(QPainterPath& text, Rng& rng, int count, double maxLength)
{
    QRectF b = text.boundingRect();
    for (int k = 0; k < count; ++k) {
        double x = b.left() + b.width() * (k + rng.uniform(0.2, 0.8)) / count;
        // find the lowest point of the lettering at this x
        double bottom = -1;
        for (double y = b.bottom(); y > b.top(); y -= 0.25)
            if (text.contains(QPointF(x, y))) {
                bottom = y;
                break;
            }
        if (bottom < 0 || bottom < b.bottom() - 4)
            continue;
        double len = rng.uniform(maxLength * 0.4, maxLength), w = rng.uniform(2.6, 3.6);
        // a drop that narrows below the letter and swells at its tip
        QPainterPath drip;
        drip.moveTo(x - w, bottom - 3);
        drip.cubicTo(x - w * 0.45, bottom + 1, x - w * 0.35, bottom + len * 0.6, x - w * 0.42, bottom + len);
        drip.arcTo(QRectF(x - w * 0.62, bottom + len - w * 0.62, w * 1.24, w * 1.34), 180, 180);
        drip.cubicTo(x + w * 0.35, bottom + len * 0.6, x + w * 0.45, bottom + 1, x + w, bottom - 3);
        drip.closeSubpath();
        text = text.united(drip);
    }
}

void paintWinner(QImage& img, double scale)
{
    const double W = 262;
    const double horizon = 186;
    paintPixels(img, scale, [](double, double) { return true; }, [&](double x, double y) {
        if (y < horizon) {
            double t = y / horizon;
            QColor sky = mix(QColor(48, 20, 70), QColor(14, 10, 30), t);
            double cloud = fbm(x / 60.0, y / 22.0, 77u);
            return mix(sky, QColor(70, 50, 95), std::max(0.0, cloud - 0.55) * 1.1);
        }
        double n = fbm(x / 30.0, y / 12.0, 88u);
        double g = 12.0 + 6.0 * (n - 0.5);
        return QColor(clamp255(g), clamp255(g - 2), clamp255(g + 6));
    });
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);

    // stars
    Rng rng(9001u);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 45; ++k) {
        QPointF s(rng.uniform(3, W - 3), rng.uniform(3, 150));
        double r = rng.uniform(0.35, 0.9);
        p.setBrush(QColor(255, 250, 230, static_cast<int>(rng.uniform(110, 230))));
        p.drawEllipse(s, r, r);
    }
    drawMoon(p, QPointF(212, 128), 20);
    drawBat(p, QPointF(178, 116), 16, QColor(10, 6, 14));
    drawBat(p, QPointF(236, 100), 11, QColor(10, 6, 14));
    drawBat(p, QPointF(40, 112), 13, QColor(10, 6, 14));

    // hill and tombstone silhouettes
    QPainterPath hill;
    hill.moveTo(0, 172);
    hill.cubicTo(60, 158, 95, 168, 131, 163);
    hill.cubicTo(170, 158, 215, 170, W, 160);
    hill.lineTo(W, horizon + 2);
    hill.lineTo(0, horizon + 2);
    hill.closeSubpath();
    p.setBrush(QColor(16, 12, 22));
    p.drawPath(hill);

    // crooked tree on the left
    p.setPen(QPen(QColor(16, 12, 22), 4.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath trunk;
    trunk.moveTo(22, 172);
    trunk.cubicTo(26, 150, 14, 140, 24, 118);
    p.drawPath(trunk);
    p.setPen(QPen(QColor(16, 12, 22), 2.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath branches;
    branches.moveTo(24, 130);
    branches.cubicTo(34, 124, 40, 128, 52, 118);
    branches.moveTo(21, 140);
    branches.cubicTo(12, 134, 8, 128, 4, 122);
    branches.moveTo(24, 118);
    branches.cubicTo(22, 110, 28, 106, 26, 100);
    branches.moveTo(44, 123);
    branches.lineTo(48, 114);
    p.drawPath(branches);

    drawTombstone(p, QRectF(60, 150, 17, 22), QColor(70, 66, 82), QStringLiteral("RIP"), -7);
    drawTombstone(p, QRectF(186, 150, 16, 21), QColor(70, 66, 82), {}, 6);
    drawCross(p, QPointF(226, 166), 20, QColor(60, 56, 72), -9);
    drawCross(p, QPointF(86, 168), 14, QColor(60, 56, 72), 5);

    // the King of the Grave: a crowned skull, winking, on a tombstone throne
    drawTombstone(p, QRectF(111, 140, 40, 40), QColor(105, 100, 118));
    drawSkull(p, QPointF(131, 138), 34, true);
    drawCrown(p, QPointF(131, 122), 26);

    // thin fog along the horizon
    for (int k = 0; k < 5; ++k) {
        double x = rng.uniform(-20, W);
        QRadialGradient fog(QPointF(x + 30, horizon - 2), 40);
        fog.setColorAt(0.0, QColor(150, 140, 175, 55));
        fog.setColorAt(1.0, QColor(150, 140, 175, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(fog);
        p.save();
        p.translate(x + 30, horizon - 2);
        p.scale(1.0, 0.22);
        p.drawEllipse(QPointF(0, 0), 40, 40);
        p.restore();
    }

    // the heading
    QFont f = lato(46);
    QPainterPath line1 = textPathCentred(f, QStringLiteral("JUARA"), W / 2, 48);
    QPainterPath line2 = textPathCentred(f, QStringLiteral("KUBUR !!"), W / 2, 96);
    Rng dripRng(31337u);
    addDrips(line1, dripRng, 4, 5);
    addDrips(line2, dripRng, 7, 12);
    QPainterPath heading = line1.united(line2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 200), 5.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(heading.translated(1.5, 2.0));
    p.setPen(QPen(QColor(40, 0, 0), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(heading);
    QLinearGradient red(QPointF(0, 8), QPointF(0, 108));
    red.setColorAt(0.0, QColor(255, 70, 50));
    red.setColorAt(0.45, QColor(225, 16, 16));
    red.setColorAt(0.5, QColor(255, 60, 45));
    red.setColorAt(1.0, QColor(160, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPath(heading);
}

// ------------------------------------------------------------------ output

bool save(const QImage& img, const QString& dir, const QString& name)
{
    QString path = dir + QLatin1Char('/') + name;
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s: %d x %d\n", qPrintable(path), img.width(), img.height());
    return true;
}

struct Picture {
    const char* name;
    int width, height;
    bool transparent;
    std::function<void(QImage&, double)> paint;
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);

    const Picture pictures[] = {
        {"board", kBoardW, kBoardH, false, paintBoard},
        {"line_blue_h", 67, 8, false, [](QImage& i, double s) { paintBar(i, s, true, kBlueBar); }},
        {"line_blue_v", 8, 55, false, [](QImage& i, double s) { paintBar(i, s, false, kBlueBar); }},
        {"line_green_h", 67, 8, false, [](QImage& i, double s) { paintBar(i, s, true, kGreenBar); }},
        {"line_green_v", 8, 55, false, [](QImage& i, double s) { paintBar(i, s, false, kGreenBar); }},
        {"disc_blue", 53, 49, true, [](QImage& i, double s) { paintDisc(i, s, kBlueDisc); }},
        {"disc_green", 53, 49, true, [](QImage& i, double s) { paintDisc(i, s, kGreenDisc); }},
        {"winner", 262, 251, false, paintWinner},
        {"icon", 32, 32, true, paintIcon},
    };
    for (const Picture& pic : pictures) {
        for (int scale : {1, 2}) {
            QImage img(pic.width * scale, pic.height * scale,
                       pic.transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
            img.fill(pic.transparent ? QColor(Qt::transparent) : QColor(Qt::black));
            pic.paint(img, scale);
            QImage out = img.convertToFormat(pic.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            QString name = QString::fromLatin1(pic.name) + (scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png"));
            if (!save(out, dir, name))
                return 1;
        }
    }
    return 0;
}
