// Draws the program's pictures (the start picture and the button glyphs) into a folder:
//   km_draw_pictures <folder>
// The PNG files under data/pictures are made by this program; run it again after a change.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

bool Save(const QString& folder, const QString& name, int width, int height, const Draw& draw) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return image.save(QDir(folder).filePath(name));
}

QFont Font(int pixels, bool bold = true) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// A mobile radio seen from the front: body, display, knobs and keys.
void DrawMobile(QPainter& p, const QRectF& r, const QString& display) {
    p.setPen(QPen(QColor(20, 20, 24), 2));
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0, QColor(70, 74, 82));
    body.setColorAt(1, QColor(30, 32, 36));
    p.setBrush(body);
    p.drawRoundedRect(r, 14, 14);
    const QRectF lcd(r.left() + r.width() * 0.25, r.top() + r.height() * 0.2, r.width() * 0.5,
                     r.height() * 0.32);
    p.setBrush(QColor(120, 200, 120));
    p.setPen(QPen(QColor(10, 40, 10), 2));
    p.drawRoundedRect(lcd, 4, 4);
    p.setFont(Font(static_cast<int>(lcd.height() * 0.55)));
    p.setPen(QColor(10, 50, 10));
    p.drawText(lcd, Qt::AlignCenter, display);
    p.setPen(QPen(QColor(15, 15, 15), 2));
    p.setBrush(QColor(110, 114, 122));
    const double knob = r.height() * 0.42;
    p.drawEllipse(QPointF(r.left() + r.width() * 0.12, r.center().y()), knob / 2, knob / 2);
    p.drawEllipse(QPointF(r.right() - r.width() * 0.12, r.center().y()), knob / 2, knob / 2);
    p.setBrush(QColor(180, 184, 190));
    for (int i = 0; i < 4; ++i) {
        const double w = lcd.width() / 4 - 6;
        p.drawRoundedRect(QRectF(lcd.left() + i * (w + 8), lcd.bottom() + r.height() * 0.12, w,
                                 r.height() * 0.16),
                          3, 3);
    }
}

// A portable radio: tall body, antenna, display and keypad.
void DrawPortable(QPainter& p, const QRectF& r, const QString& display) {
    p.setPen(QPen(QColor(20, 20, 24), 2));
    p.setBrush(QColor(40, 40, 44));
    p.drawRoundedRect(QRectF(r.left() + r.width() * 0.15, r.top() - r.height() * 0.35,
                             r.width() * 0.14, r.height() * 0.4),
                      5, 5);
    QLinearGradient body(r.topLeft(), r.topRight());
    body.setColorAt(0, QColor(60, 64, 72));
    body.setColorAt(1, QColor(28, 30, 34));
    p.setBrush(body);
    p.drawRoundedRect(r, 16, 16);
    const QRectF lcd(r.left() + r.width() * 0.14, r.top() + r.height() * 0.12, r.width() * 0.72,
                     r.height() * 0.2);
    p.setBrush(QColor(120, 200, 120));
    p.setPen(QPen(QColor(10, 40, 10), 2));
    p.drawRoundedRect(lcd, 4, 4);
    p.setFont(Font(static_cast<int>(lcd.height() * 0.5)));
    p.setPen(QColor(10, 50, 10));
    p.drawText(lcd, Qt::AlignCenter, display);
    p.setPen(QPen(QColor(15, 15, 15), 1.5));
    p.setBrush(QColor(175, 180, 186));
    const double w = lcd.width() / 3 - 6;
    const double h = r.height() * 0.09;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col) {
            p.drawRoundedRect(
                QRectF(lcd.left() + col * (w + 9), lcd.bottom() + 16 + row * (h + 8), w, h), 3, 3);
        }
    }
}

void DrawStart(QPainter& p) {
    const QRectF all(0, 0, 720, 420);
    QLinearGradient sky(all.topLeft(), all.bottomLeft());
    sky.setColorAt(0, QColor(24, 54, 96));
    sky.setColorAt(1, QColor(8, 20, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(all, 18, 18);
    // Radio waves behind the radios.
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        p.setPen(QPen(QColor(120, 170, 230, 190 - i * 40), 3));
        p.drawArc(QRectF(529 - i * 24, 66 - i * 24, i * 48, i * 48), 35 * 16, 110 * 16);
    }
    DrawMobile(p, QRectF(60, 200, 380, 120), QStringLiteral("KM700"));
    DrawPortable(p, QRectF(500, 150, 130, 240), QStringLiteral("KP800"));
    p.setPen(QColor(235, 240, 250));
    p.setFont(Font(34));
    p.drawText(QRectF(40, 30, 460, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("KM700 / KP800"));
    p.setFont(Font(20, false));
    p.setPen(QColor(190, 205, 230));
    p.drawText(QRectF(42, 80, 460, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Configuration Programmer"));
    p.setFont(Font(14, false));
    p.drawText(QRectF(42, 112, 460, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Trunk (MPT1327) and PMR radios"));
    p.drawText(QRectF(42, 350, 420, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Choose TRUNK or PMR, or open a job file, to begin."));
}

// ---- Toolbar glyphs (24 x 24) ------------------------------------------------------------

const QColor kInk(40, 48, 60);

void Page(QPainter& p) {
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(15, 2);
    page.lineTo(20, 7);
    page.lineTo(20, 22);
    page.lineTo(5, 22);
    page.closeSubpath();
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(15, 2), QPointF(15, 7));
    p.drawLine(QPointF(15, 7), QPointF(20, 7));
}

void Folder(QPainter& p) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(240, 200, 90));
    p.drawRoundedRect(QRectF(2, 6, 20, 15), 2, 2);
    p.setBrush(QColor(250, 220, 120));
    QPainterPath lid;
    lid.moveTo(2, 21);
    lid.lineTo(6, 11);
    lid.lineTo(23, 11);
    lid.lineTo(20, 21);
    lid.closeSubpath();
    p.drawPath(lid);
}

void SmallRadio(QPainter& p, double x) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(70, 74, 82));
    p.drawRoundedRect(QRectF(x, 8, 12, 14), 2, 2);
    p.drawLine(QPointF(x + 3, 8), QPointF(x + 3, 2));
    p.setBrush(QColor(120, 200, 120));
    p.drawRect(QRectF(x + 2, 10, 8, 4));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const double dir = to.x() > from.x() ? -1 : 1;
    p.drawLine(to, to + QPointF(dir * 4, -4));
    p.drawLine(to, to + QPointF(dir * 4, 4));
}

void Disk(QPainter& p) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(60, 100, 170));
    p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.setBrush(QColor(200, 210, 225));
    p.drawRect(QRectF(6, 13, 12, 8));
}

void Printer(QPainter& p) {
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 2, 10, 8));
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(2, 9, 20, 9), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 15, 12, 7));
}

// ---- Form button glyphs (28 x 28): a coloured tile with a symbol ---------------------------

void Tile(QPainter& p, const QColor& colour) {
    QLinearGradient fill(0, 0, 0, 28);
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 1, 26, 26), 5, 5);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
}

void SymbolRadio(QPainter& p) {
    p.drawRoundedRect(QRectF(6, 9, 16, 13), 2, 2);
    p.drawLine(QPointF(9, 9), QPointF(9, 4));
    p.drawLine(QPointF(9, 14), QPointF(19, 14));
}
void SymbolSliders(QPainter& p) {
    for (int i = 0; i < 3; ++i) {
        const double x = 8 + i * 6;
        p.drawLine(QPointF(x, 6), QPointF(x, 22));
        p.drawEllipse(QPointF(x, 10 + i * 5), 2, 2);
    }
}
void SymbolText(QPainter& p, const QString& text, int size) {
    p.setPen(Qt::white);
    p.setFont(Font(size));
    p.drawText(QRectF(0, 0, 28, 28), Qt::AlignCenter, text);
}
void SymbolTower(QPainter& p) {
    p.drawLine(QPointF(14, 8), QPointF(9, 23));
    p.drawLine(QPointF(14, 8), QPointF(19, 23));
    p.drawLine(QPointF(11, 17), QPointF(17, 17));
    p.drawArc(QRectF(8, 3, 12, 10), 30 * 16, 120 * 16);
}
void SymbolList(QPainter& p) {
    for (int i = 0; i < 4; ++i) {
        p.drawLine(QPointF(7, 8 + i * 4), QPointF(21, 8 + i * 4));
    }
}
void SymbolWaves(QPainter& p) {
    QPainterPath wave;
    wave.moveTo(5, 14);
    for (int i = 0; i < 4; ++i) {
        wave.quadTo(7.5 + i * 5, i % 2 ? 20 : 8, 10 + i * 5, 14);
    }
    p.drawPath(wave);
}
void SymbolArrows(QPainter& p) {
    p.drawLine(QPointF(6, 10), QPointF(21, 10));
    p.drawLine(QPointF(21, 10), QPointF(17, 7));
    p.drawLine(QPointF(6, 18), QPointF(21, 18));
    p.drawLine(QPointF(6, 18), QPointF(10, 21));
}
void SymbolClock(QPainter& p) {
    p.drawEllipse(QPointF(14, 14), 8, 8);
    p.drawLine(QPointF(14, 14), QPointF(14, 9));
    p.drawLine(QPointF(14, 14), QPointF(18, 16));
}
void SymbolSearch(QPainter& p) {
    p.drawEllipse(QPointF(12, 12), 5.5, 5.5);
    p.drawLine(QPointF(16, 16), QPointF(22, 22));
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    bool ok = Save(folder, "start.png", 720, 420, DrawStart);
    ok &= Save(folder, "new.png", 24, 24, Page);
    ok &= Save(folder, "open.png", 24, 24, Folder);
    ok &= Save(folder, "read.png", 24, 24, [](QPainter& p) {
        SmallRadio(p, 1);
        Arrow(p, QPointF(14, 15), QPointF(23, 15), QColor(30, 130, 60));
    });
    ok &= Save(folder, "save.png", 24, 24, Disk);
    ok &= Save(folder, "program.png", 24, 24, [](QPainter& p) {
        SmallRadio(p, 11);
        Arrow(p, QPointF(1, 15), QPointF(10, 15), QColor(190, 60, 40));
    });
    ok &= Save(folder, "print.png", 24, 24, Printer);

    const QColor trunk(40, 90, 170);
    const QColor pmr(30, 130, 80);
    const QColor network(200, 110, 30);
    struct Glyph {
        const char* name;
        QColor colour;
        Draw symbol;
    };
    const Glyph glyphs[] = {
        {"trunk_form_a.png", trunk, SymbolRadio},
        {"trunk_form_b.png", trunk, SymbolSliders},
        {"trunk_form_c.png", trunk, [](QPainter& p) { SymbolText(p, "ID", 11); }},
        {"trunk_form_d.png", trunk, SymbolTower},
        {"trunk_form_e.png", trunk, [](QPainter& p) { SymbolText(p, "Abc", 9); }},
        {"pmr_form_a.png", pmr, SymbolRadio},
        {"pmr_form_b.png", pmr, SymbolSliders},
        {"pmr_form_c.png", pmr, SymbolList},
        {"pmr_form_d.png", pmr, SymbolWaves},
        {"pmr_form_e.png", pmr, SymbolArrows},
        {"pmr_form_f.png", pmr, [](QPainter& p) { SymbolText(p, "Abc", 9); }},
        {"network_form_a.png", network, SymbolTower},
        {"network_form_b.png", network, SymbolClock},
        {"network_form_c.png", network, SymbolSearch},
    };
    for (const Glyph& glyph : glyphs) {
        ok &= Save(folder, glyph.name, 28, 28, [&glyph](QPainter& p) {
            Tile(p, glyph.colour);
            glyph.symbol(p);
        });
    }
    return ok ? 0 : 1;
}
