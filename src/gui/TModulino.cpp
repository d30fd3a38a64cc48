#include "TModulino.h"

#include "Accessibility.h"
#include "ClickFilter.h"
#include "ColourSwatch.h"
#include "OptionPictures.h"
#include "PieceTableView.h"
#include "QtDialogs.h"
#include "ShapeCombo.h"
#include "UpDownArrows.h"
#include "ViewLinkServer.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSessionManager>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <exception>

namespace modulino {

namespace {

constexpr QPoint FirstPlace{307, 117};

struct CaptionTarget {
    const char* control;
    QString Captions::*text;
};

// The controls whose captions the language file may replace.
constexpr CaptionTarget CaptionTargets[] = {
    {"bezvoleb", &Captions::bezvoleb},
    {"CBovl", &Captions::CBovl},
    {"CBSkryt", &Captions::CBSkryt},
    {"Del", &Captions::Del},
    {"Dlekmodulino1", &Captions::Dlekmodulino1},
    {"Duplikovat1", &Captions::Duplikovat1},
    {"Exportovat1", &Captions::Exportovat1},
    {"Konec1", &Captions::Konec1},
    {"Kopirovat1", &Captions::Kopirovat1},
    {"Label1", &Captions::Label1},
    {"Label10", &Captions::Label10},
    {"Label11", &Captions::Label11},
    {"Label12", &Captions::Label12},
    {"Label13", &Captions::Label13},
    {"Label14", &Captions::Label14},
    {"Label24", &Captions::Label24},
    {"Label3", &Captions::Label3},
    {"Label4", &Captions::Label4},
    {"Label5", &Captions::Label5},
    {"Label6", &Captions::Label6},
    {"Label7", &Captions::Label7},
    {"Label8", &Captions::Label8},
    {"Label9", &Captions::Label9},
    {"Nahled", &Captions::Nahled},
    {"NahledSleduje1", &Captions::NahledSleduje1},
    {"Nast1", &Captions::Nast1},
    {"Nov1", &Captions::Nov1},
    {"Npovda1", &Captions::Npovda1},
    {"Pidat1", &Captions::Pidat1},
    {"Pole1", &Captions::Pole1},
    {"Pripojit1", &Captions::Pripojit1},
    {"Preview1", &Captions::Preview1},
    {"Pridej", &Captions::Pridej},
    {"Scna1", &Captions::Scna1},
    {"Smazat1", &Captions::Smazat1},
    {"Uloit1", &Captions::Uloit1},
    {"UkazatDilek1", &Captions::UkazatDilek1},
    {"Uloitjako1", &Captions::Uloitjako1},
    {"Upravy1", &Captions::Upravy1},
    {"Vlozit1", &Captions::Vlozit1},
    {"volby", &Captions::volby},
    {"VybratBarvu1", &Captions::VybratBarvu1},
    {"VybratTvar1", &Captions::VybratTvar1},
    {"VybratVse1", &Captions::VybratVse1},
    {"Vyjmout1", &Captions::Vyjmout1},
    {"Zobrazit1", &Captions::Zobrazit1},
    {"Zobrazituloenou1", &Captions::Zobrazituloenou1},
    {"Zpet1", &Captions::Zpet1},
    {"Znovu1", &Captions::Znovu1},
};

// A label keeps its place and takes the size of its text, as an auto-sizing label does.
void setLabelText(QLabel* label, const QString& text) {
    if (label->text() == text)
        return;
    label->setText(text);
    label->adjustSize();
}

void setCaption(QObject* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control))
        setLabelText(label, text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* panel = qobject_cast<QFrame*>(control)) {
        panel->findChild<QLabel*>(QStringLiteral("caption"))->setText(text);
        panel->setAccessibleName(text);
    } else if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(text);
}

QFont pixelFont(QFont font, int pixels) {
    font.setPixelSize(pixels);
    return font;
}

// Liberation Sans (Debian's fonts-liberation2) has Arial's metrics, close enough to the
// "MS Sans Serif" the window was laid out for that every text fits its place at 13 pixels.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"),
                      QFontDatabase::systemFont(QFontDatabase::GeneralFont).family()});
    font.setStyleHint(QFont::SansSerif);
    return pixelFont(font, 13);
}

QIcon redCross() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(3, 3, 12, 12);
    painter.drawLine(12, 3, 3, 12);
    return QIcon(pixmap);
}

} // namespace

TModulino::TModulino(UserDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent)
    , ownDialogs(dialogs ? nullptr : std::make_unique<QtDialogs>(this))
    , core(dialogs ? *dialogs : *ownDialogs) {
    setObjectName(QStringLiteral("Modulino"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(windowFont());
    setWindowIcon(QIcon(QStringLiteral(":/modulino.svg")));
    installAccessibility();
    core.FormCreate(QDir::currentPath());
    linkToView();

    client = new QWidget(this);
    client->setFixedSize(ClientSize);
    setCentralWidget(client);
    buildHeader();
    buildEditingRow();
    buildTable();
    buildRightColumn();
    buildHelpPanel();
    buildOptionsArea();
    buildMenu();
    buildGroupEditing();
    stackControls();
    applyCaptions();
    refresh();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    move(FirstPlace);
    qApp->installEventFilter(this);
#if QT_CONFIG(sessionmanager)
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TModulino::commitData);
#endif
}

TModulino::~TModulino() {
    qApp->removeEventFilter(this);
    delete takeCentralWidget(); // the controls read the core, which goes before the window does
}

template <typename Handler> void TModulino::run(Handler&& handler) {
    SGDilky->finishTyping(); // a value being typed is taken before anything else happens
    runWhileTyping(std::forward<Handler>(handler));
}

template <typename Handler> void TModulino::runWhileTyping(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        core.dialogs.errorReport(QString::fromLocal8Bit(failure.what()));
    }
    core.recovery.update();
    refresh();
}

void TModulino::openFile(const QString& path) {
    run([this, path = QFileInfo(path).absoluteFilePath()] {
        // Only a restored recovery copy is unsaved here; it goes only when the user says so.
        const EditorState& s = core.state;
        if (s.SceneSaved || core.dialogs.confirm(s.texts.MessageTexts[2]))
            core.opening.openFile(path);
    });
}

void TModulino::offerRecovery() {
    run([this] { core.offerRecovery(); });
}

void TModulino::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !closed)
        runWhileTyping([this] { core.FormActivate(); });
}

QLabel* TModulino::label(QWidget* parent, const char* name, int x, int y) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    if (parent == client)
        graphicControls.push_back(label);
    return label;
}

QPushButton* TModulino::button(const char* name, const QRect& place, const QString& hint) {
    auto* button = new QPushButton(client);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    button->setToolTip(hint);
    return button;
}

void TModulino::buildHeader() {
    label(client, "Label1", 16, 8);
    jmeno = label(client, "jmeno", 144, 8);
}

void TModulino::buildEditingRow() {
    label(client, "Label6", 200, 40);
    label(client, "Label5", 304, 40);

    Shape1 = new ColourSwatch(client);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(18, 64, 49, 24);
    Shape1->setAccessibleName(QStringLiteral("piece colour"));
    graphicControls.push_back(Shape1);
    connect(Shape1, &ColourSwatch::pressed, this,
            [this] { run([this] { core.group.Shape1MouseDown(); }); });

    Tvar = new ShapeCombo(client);
    Tvar->setObjectName(QStringLiteral("Tvar"));
    Tvar->setGeometry(72, 64, 113, 21);
    Tvar->setAccessibleName(QStringLiteral("shape"));
    connect(Tvar, &QComboBox::activated, this,
            [this](int index) { run([this, index] { core.group.TvarChange(index); }); });

    static constexpr const char* names[] = {"UDrx", "UDry", "UDrz", "UDx", "UDy", "UDz"};
    static constexpr int lefts[] = {192, 224, 256, 292, 324, 356};
    static constexpr const char* spoken[] = {"rx", "ry", "rz", "x", "y", "z"};
    for (int i = 0; i < 6; ++i) {
        auto* arrows = new UpDownArrows(client);
        arrows->setObjectName(QLatin1String(names[i]));
        arrows->setAccessibleNames(QLatin1String(spoken[i]));
        arrows->move(lefts[i], 64);
        const auto id = UpDownId(i);
        connect(arrows, &UpDownArrows::stepped, this, [this, id](int direction) {
            run([this, id, direction] { core.group.pressUpDown(id, direction); });
        });
        upDowns[std::size_t(i)] = arrows;
    }

    CBovl = new QCheckBox(client);
    CBovl->setObjectName(QStringLiteral("CBovl"));
    CBovl->setGeometry(384, 64, 81, 25);
    connect(CBovl, &QCheckBox::clicked, this,
            [this](bool ticked) { run([this, ticked] { core.group.setCBovl(ticked); }); });
}

void TModulino::buildTable() {
    SGDilky = new PieceTableView(core.state.SGDilky, core.state.upDowns, client);
    SGDilky->setObjectName(QStringLiteral("SGDilky"));
    SGDilky->move(16, 88);
    SGDilky->setAccessibleName(QStringLiteral("pieces"));
    connect(SGDilky, &PieceTableView::rowChosen, this,
            [this](int row) { run([this, row] { core.editing.selectRow(row); }); });
    connect(SGDilky, &PieceTableView::pointerMoved, this,
            [this](int x) { runWhileTyping([this, x] { core.editing.SGDilkyMouseMove(x); }); });
    connect(SGDilky, &PieceTableView::valueTyped, this,
            [this](int column, int row, const QString& text) {
                runWhileTyping([&] { core.group.SGDilkySetEditText(column, row, text); });
            });
    connect(SGDilky, &PieceTableView::wheelNotch, this,
            [this](int direction, bool shift, bool leftButton) {
                run([this, direction, held = WheelEditing::Held{shift, leftButton}] {
                    core.group.wheelNotch(direction, held);
                });
            });
}

void TModulino::buildRightColumn() {
    label(client, "Label4", 512, 64);

    Shape2 = new ColourSwatch(client);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setGeometry(536, 88, 49, 25);
    Shape2->setAccessibleName(QStringLiteral("background colour"));
    graphicControls.push_back(Shape2);
    connect(Shape2, &ColourSwatch::pressed, this,
            [this] { run([this] { core.editing.Shape2MouseDown(); }); });

    varovani = label(client, "varovani", 490, 120);
    varovani->setFixedSize(191, 49);
    varovani->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    varovani->setWordWrap(false);

    CBSkryt = new QCheckBox(client);
    CBSkryt->setObjectName(QStringLiteral("CBSkryt"));
    CBSkryt->setGeometry(512, 184, 129, 17);
    connect(CBSkryt, &QCheckBox::clicked, this,
            [this](bool ticked) { run([this, ticked] { core.editing.CBSkrytClick(ticked); }); });

    connect(button("Pridej", {496, 216, 177, 25}, QStringLiteral("Ins")), &QPushButton::clicked,
            this, [this] { run([this] { core.editing.PridejClick(); }); });
    connect(button("Del", {496, 256, 177, 25}, QStringLiteral("Shift + Delete")),
            &QPushButton::clicked, this, [this] { run([this] { core.group.DelClick(); }); });
    connect(button("Nahled", {496, 296, 177, 41}, QStringLiteral("F3")), &QPushButton::clicked,
            this, [this] { run([this] { core.preview.NahledClick(); }); });
}

void TModulino::buildHelpPanel() {
    PHelp = new QFrame(client);
    PHelp->setObjectName(QStringLiteral("PHelp"));
    PHelp->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PHelp->setAutoFillBackground(true);
    PHelp->setGeometry(18, 296, 449, 193);

    label(PHelp, "Label8", 8, 8)->setFont(pixelFont(font(), 16));
    label(PHelp, "Label3", 8, 32);
    label(PHelp, "Label7", 8, 56);
    label(PHelp, "Label24", 8, 72);
    label(PHelp, "Label10", 8, 88);
    label(PHelp, "Label9", 8, 112);
    label(PHelp, "Label11", 8, 136);
    label(PHelp, "Label12", 8, 152)->hide(); // never shown
    label(PHelp, "Label13", 8, 168);

    auto* close = new QPushButton(PHelp);
    close->setObjectName(QStringLiteral("BitBtn1"));
    close->setGeometry(416, 8, 25, 25);
    close->setIcon(redCross());
    close->setAccessibleName(QStringLiteral("close help"));
    connect(close, &QPushButton::clicked, this,
            [this] { run([this] { core.panels.BitBtn1Click(); }); });
}

// A letter laid on an arm of an axis tripod.
QLabel* TModulino::letter(QWidget* parent, const char* name, QPoint place) {
    QLabel* text = label(parent, name, place.x(), place.y());
    text->setFont(pixelFont(font(), 16));
    text->setAutoFillBackground(true);
    QPalette white = text->palette();
    white.setColor(QPalette::Window, Qt::white);
    text->setPalette(white);
    return text;
}

void TModulino::buildOptionsArea() {
    const auto picture = [this](QWidget* image, const char* name, const char* spoken,
                                QPoint place) {
        image->setObjectName(QLatin1String(name));
        image->setAccessibleName(QLatin1String(spoken));
        image->move(place);
        image->setToolTip(QStringLiteral("Click"));
        graphicControls.push_back(image);
        return new ClickFilter(image);
    };
    const auto onClick = [this](ClickFilter* clicks, auto handler) {
        connect(clicks, &ClickFilter::clicked, this, [this, handler] { run(handler); });
    };

    Image1 = new CornerCube(CornerCube::Corner::Front, client);
    onClick(picture(Image1, "Image1", "front corner", {496, 352}),
            [this] { core.panels.Image1Click(); });
    Image2 = new CornerCube(CornerCube::Corner::Back, client);
    onClick(picture(Image2, "Image2", "back corner", {496, 352}),
            [this] { core.panels.Image2Click(); });

    lbBod = label(client, "lbBod", 506, 400);
    lbBod->setText(QStringLiteral("?"));
    lbBod->setFont(pixelFont(font(), 19));
    lbBod->setFixedSize(47, 37);
    lbBod->setAlignment(Qt::AlignCenter);
    lbBod->setAutoFillBackground(true);
    onClick(new ClickFilter(lbBod), [this] { core.panels.lbBodClick(); });

    QLabel* axes = label(client, "Label14", 592, 344);
    axes->setFixedWidth(81);
    axes->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Image3 = new AxisTripod(client);
    onClick(picture(Image3, "Image3", "axis convention", {592, 360}),
            [this] { core.panels.Image3Click(); });
    // The letters take the clicks that fall on them; the tripod does not see them.
    lbUp = letter(client, "lbUp", QPoint(592, 360) + AxisTripod::UpLetter);
    lbRight = letter(client, "lbRight", QPoint(592, 360) + AxisTripod::RightLetter);
    lbFront = letter(client, "lbFront", QPoint(592, 360) + AxisTripod::FrontLetter);

    bezvoleb = button("bezvoleb", {496, 446, 177, 24}, QString());
    connect(bezvoleb, &QPushButton::clicked, this,
            [this] { run([this] { core.panels.bezvolebClick(); }); });

    buildAxisPanel();

    volby = new QFrame(client);
    volby->setObjectName(QStringLiteral("volby"));
    volby->setFrameStyle(QFrame::Panel | QFrame::Raised);
    volby->setAutoFillBackground(true);
    volby->setGeometry(496, 344, 177, 126);
    auto* caption = new QLabel(volby);
    caption->setObjectName(QStringLiteral("caption"));
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignCenter);
    caption->setGeometry(volby->rect());
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    onClick(new ClickFilter(volby), [this] { core.panels.volbyClick(); });
}

// The pop-up panel with one tripod per axis convention; the tag of each is its convention.
void TModulino::buildAxisPanel() {
    poloha = new QFrame(client);
    poloha->setObjectName(QStringLiteral("poloha"));
    poloha->setFrameStyle(QFrame::Panel | QFrame::Raised);
    poloha->setAutoFillBackground(true);
    poloha->setGeometry(282, 344, 306, 105);
    poloha->setAccessibleName(QStringLiteral("axis conventions"));

    struct Convention {
        const char* frame;
        const char* picture;
        const char* up;
        const char* right;
        const char* front;
        const char* spoken;
    };
    static constexpr Convention conventions[] = {
        {"ShXYZ", "ImXYZ", "Label17", "Label21", "Label18", "xyz"},
        {"ShXZY", "ImXZY", "Label19", "Label22", "Label15", "xzy"},
        {"ShYZX", "ImYZX", "Label20", "Label16", "Label23", "yzx"},
    };
    for (int tag = 0; tag < 3; ++tag) {
        const Convention& names = conventions[tag];
        const QPoint place(17 + 96 * tag, 11);
        auto* frame = new AxisFrame(poloha);
        frame->setObjectName(QLatin1String(names.frame));
        frame->move(place - QPoint(1, 1));
        axisFrames[std::size_t(tag)] = frame;

        auto* tripod = new AxisTripod(poloha);
        tripod->setObjectName(QLatin1String(names.picture));
        tripod->setAccessibleName(QLatin1String(names.spoken));
        tripod->move(place);
        tripod->setToolTip(QStringLiteral("Click"));
        tripod->setMouseTracking(true);
        auto* clicks = new ClickFilter(tripod);
        connect(clicks, &ClickFilter::pointerMoved, this,
                [this, tag] { run([this, tag] { core.panels.ImYZXMouseMove(tag); }); });
        const auto choose = [this, tag] {
            run([this, tag] { core.panels.ImXYZClick(tag); });
        };
        connect(clicks, &ClickFilter::clicked, this, choose);

        const AxisLetters letters = axisLetters(tag);
        const std::pair<const char*, QPoint> labels[] = {
            {names.up, AxisTripod::UpLetter},
            {names.right, AxisTripod::RightLetter},
            {names.front, AxisTripod::FrontLetter},
        };
        const QString texts[] = {letters.up, letters.right, letters.front};
        for (int i = 0; i < 3; ++i) {
            QLabel* text = letter(poloha, labels[i].first, place + labels[i].second);
            setLabelText(text, texts[i]);
            connect(new ClickFilter(text), &ClickFilter::clicked, this, choose);
        }
    }
}

QAction* TModulino::action(QMenu* menu, const char* name, const QKeySequence& shortcut) {
    auto* item = new QAction(this);
    item->setObjectName(QLatin1String(name));
    item->setShortcut(shortcut);
    item->setShortcutContext(Qt::WindowShortcut);
    if (menu)
        menu->addAction(item);
    else
        menuBar()->addAction(item);
    return item;
}

void TModulino::buildMenu() {
    const auto menu = [this](const char* name) {
        QMenu* sub = menuBar()->addMenu(QString());
        sub->setObjectName(QLatin1String(name));
        return sub;
    };
    const auto on = [this](QAction* item, auto handler) {
        connect(item, &QAction::triggered, this, [this, handler] { run(handler); });
    };

    QMenu* Scna1 = menu("Scna1");
    on(action(Scna1, "Nov1", Qt::CTRL | Qt::Key_N), [this] { core.lifecycle.Nov1Click(); });
    on(action(Scna1, "Nast1", Qt::CTRL | Qt::Key_O), [this] { core.opening.Nast1Click(); });
    on(action(Scna1, "Uloit1", Qt::CTRL | Qt::Key_S), [this] { core.commands.Uloit1Click(); });
    on(action(Scna1, "Uloitjako1", {}), [this] { core.commands.Uloitjako1Click(); });
    on(action(Scna1, "Exportovat1", {}), [this] { core.exporting.Exportovat1Click(); });
    Scna1->addSeparator()->setObjectName(QStringLiteral("N1"));
    // Whether the window closes is the close query's decision.
    connect(action(Scna1, "Konec1", Qt::ALT | Qt::Key_F4), &QAction::triggered, this,
            &QWidget::close);

    QMenu* Upravy1 = menu("Upravy1");
    Zpet1 = action(Upravy1, "Zpet1", Qt::CTRL | Qt::Key_Z);
    on(Zpet1, [this] { core.undoRedo.ZpetClick(); });
    Znovu1 = action(Upravy1, "Znovu1", Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    Znovu1->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    on(Znovu1, [this] { core.undoRedo.ZnovuClick(); });

    QMenu* Zobrazit1 = menu("Zobrazit1");
    on(action(Zobrazit1, "Preview1", Qt::Key_F3), [this] { core.preview.NahledClick(); });
    on(action(Zobrazit1, "Zobrazituloenou1", Qt::Key_F4),
       [this] { core.commands.Zobrazituloenou1Click(); });
    QAction* follow = action(Zobrazit1, "NahledSleduje1", {});
    follow->setCheckable(true);
    follow->setChecked(core.preview.isOn());
    connect(follow, &QAction::toggled, this, [this](bool ticked) {
        run([this, ticked] { core.preview.NahledSleduje1Click(ticked); });
    });
    connect(action(Zobrazit1, "UkazatDilek1", Qt::CTRL | Qt::Key_F3), &QAction::triggered, this,
            [this] {
                if (core.preview.following())
                    viewLink->send(link::encode(link::Frame{}));
            });

    QMenu* Dlekmodulino1 = menu("Dlekmodulino1");
    on(action(Dlekmodulino1, "Pidat1", Qt::Key_Insert), [this] { core.editing.PridejClick(); });
    Duplikovat1 = action(Dlekmodulino1, "Duplikovat1", Qt::CTRL | Qt::Key_D);
    on(Duplikovat1, [this] { core.group.Duplikovat1Click(); });
    on(action(Dlekmodulino1, "Smazat1", Qt::SHIFT | Qt::Key_Delete),
       [this] { core.group.DelClick(); });

    on(action(nullptr, "Npovda1", Qt::Key_F1), [this] { core.panels.Npovda1Click(); });
    keepMenuBarHeight();
}

// Empty captions would shrink the bar to its margins and move the window's controls up; the bar
// keeps the height it has with a caption.
void TModulino::keepMenuBarHeight() {
    QAction probe(QStringLiteral("M"));
    menuBar()->addAction(&probe);
    menuBar()->setMinimumHeight(menuBar()->sizeHint().height());
    menuBar()->removeAction(&probe);
}

// Labels and swatches lie beneath the windowed controls; overlapping windowed controls stack
// from the table up.
void TModulino::stackControls() {
    for (auto it = graphicControls.rbegin(); it != graphicControls.rend(); ++it)
        (*it)->lower();
    for (QWidget* control :
         std::initializer_list<QWidget*>{SGDilky, PHelp, poloha, bezvoleb, volby})
        control->raise();
}

void TModulino::applyCaptions() {
    const Captions& captions = core.state.captions;
    setWindowTitle(captions.Modulino);
    PHelp->setAccessibleName(captions.Label8);
    for (const CaptionTarget& target : CaptionTargets)
        setCaption(findChild<QObject*>(QLatin1String(target.control)), captions.*target.text);
    Tvar->clear();
    Tvar->addItems(core.state.Tvar.items);
}

void TModulino::refresh() {
    const EditorState& s = core.state;
    setLabelText(jmeno, s.jmeno);
    varovani->setText(displayText(s.varovani));
    {
        const QSignalBlocker quiet(Tvar);
        Tvar->setCurrentIndex(s.Tvar.selected < Tvar->count() ? s.Tvar.selected : -1);
        Tvar->setShownText(s.Tvar.text);
    }
    {
        const QSignalBlocker quiet(CBovl);
        CBovl->setChecked(s.CBovl);
    }
    {
        const QSignalBlocker quiet(CBSkryt);
        CBSkryt->setChecked(s.CBSkryt);
    }
    for (std::size_t i = 0; i < upDowns.size(); ++i)
        upDowns[i]->setValue(s.upDowns[i]);
    Shape1->setColour(s.Shape1);
    Shape2->setColour(s.Shape2);
    PHelp->setVisible(s.PHelpVisible);
    SGDilky->followTable();
    Zpet1->setEnabled(s.history.canUndo());
    Znovu1->setEnabled(s.history.canRedo());
    Duplikovat1->setEnabled(!s.SGDilky.isEmpty());
    refreshOptions();
    refreshGroupEditing();
    followScene();
}

// The editor's side of the live view: picks and drags from the view are handlers like any other.
void TModulino::linkToView() {
    viewLink = new ViewLinkServer(this);
    connect(viewLink, &ViewLinkServer::received, this, [this](const QByteArray& line) {
        if (!core.preview.following())
            return;
        run([this, &line] {
            if (std::holds_alternative<link::Drag>(core.link.take(line)))
                core.preview.rewrite(); // the dragged piece shows where its line puts it
        });
    });
    connect(viewLink, &ViewLinkServer::viewConnected, this,
            [this] { viewLink->send(core.link.selectionToSend(true)); });
}

// After every handler: the preview file follows the scene, the view the selection.
void TModulino::followScene() {
    core.preview.afterHandler();
    if (!core.preview.following()) {
        viewLink->close();
        return;
    }
    if (viewLink->listen(core.state.PreviewFileName)) {
        if (const QByteArray line = core.link.selectionToSend(); !line.isEmpty())
            viewLink->send(line);
    }
}

void TModulino::refreshOptions() {
    const EditorState& s = core.state;
    volby->setVisible(s.volbyVisible);
    Image1->setVisible(!s.BackCornerMode);
    Image2->setVisible(s.BackCornerMode);
    lbBod->setVisible(s.lbBodVisible);
    Image3->setToolTip(s.Image3HintOn ? QStringLiteral("Click") : QString());
    const AxisLetters letters = axisLetters(s.AxisOrder);
    setLabelText(lbUp, letters.up);
    setLabelText(lbRight, letters.right);
    setLabelText(lbFront, letters.front);
    for (int tag = 0; tag < 3; ++tag)
        axisFrames[std::size_t(tag)]->setVisible(tag == s.AxisOrder);
    poloha->setVisible(s.polohaVisible);
}

void TModulino::closeEvent(QCloseEvent* event) {
    if (!closed) {
        bool mayClose = closeApproved;
        if (!mayClose)
            run([this, &mayClose] { mayClose = core.lifecycle.FormCloseQuery(); });
        if (!mayClose) {
            event->ignore();
            return;
        }
        core.preview.stop(); // no write may come after the preview file is deleted
        viewLink->close();
        core.lifecycle.FormClose();
        closed = true;
    }
    event->accept();
}

// The session's end passes the same close query as every other way of closing.
void TModulino::commitData(QSessionManager& manager) {
#if QT_CONFIG(sessionmanager)
    if (closed || closeApproved || !manager.allowsInteraction())
        return;
    bool mayClose = false;
    run([this, &mayClose] { mayClose = core.lifecycle.FormCloseQuery(); });
    manager.release();
    if (mayClose)
        closeApproved = true;
    else
        manager.cancel();
#else
    Q_UNUSED(manager);
#endif
}

// While the table has the focus every wheel event in the window is the table's; the table
// itself never scrolls by the wheel.
bool TModulino::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() == this) {
            if (SGDilky->hasFocus()) {
                SGDilky->takeWheel(static_cast<QWheelEvent*>(event));
                return true;
            }
            if (widget == SGDilky || SGDilky->isAncestorOf(widget))
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Several pieces at once: the table's Ctrl and Shift clicks, the clipboard, selecting alike,
// arrays and appending a scene.
void TModulino::buildGroupEditing() {
    connect(SGDilky, &PieceTableView::rowToggled, this,
            [this](int row) { run([this, row] { core.selection.SGDilkyToggleRow(row); }); });
    connect(SGDilky, &PieceTableView::rowExtended, this,
            [this](int row) { run([this, row] { core.selection.SGDilkyExtendTo(row); }); });
    const auto on = [this](QAction* item, auto handler) {
        connect(item, &QAction::triggered, this, [this, handler] { run(handler); });
        groupActions.push_back(item);
    };
    auto* Upravy1 = findChild<QMenu*>(QStringLiteral("Upravy1"));
    Upravy1->addSeparator();
    on(action(Upravy1, "Vyjmout1", Qt::CTRL | Qt::Key_X),
       [this] { QGuiApplication::clipboard()->setText(core.transfer.Vyjmout1Click()); });
    on(action(Upravy1, "Kopirovat1", Qt::CTRL | Qt::Key_C),
       [this] { QGuiApplication::clipboard()->setText(core.transfer.Kopirovat1Click()); });
    on(action(Upravy1, "Vlozit1", Qt::CTRL | Qt::Key_V),
       [this] { core.transfer.Vlozit1Click(QGuiApplication::clipboard()->text()); });
    Upravy1->addSeparator();
    on(action(Upravy1, "VybratVse1", Qt::CTRL | Qt::Key_A),
       [this] { core.selection.VybratVse1Click(); });
    on(action(Upravy1, "VybratTvar1", {}), [this] { core.selection.VybratTvar1Click(); });
    on(action(Upravy1, "VybratBarvu1", {}), [this] { core.selection.VybratBarvu1Click(); });

    on(action(findChild<QMenu*>(QStringLiteral("Dlekmodulino1")), "Pole1",
              Qt::CTRL | Qt::SHIFT | Qt::Key_D),
       [this] { core.group.Pole1Click(); });

    auto* Scna1 = findChild<QMenu*>(QStringLiteral("Scna1"));
    QAction* Pripojit1 = action(Scna1, "Pripojit1", {});
    Scna1->removeAction(Pripojit1);
    Scna1->insertAction(findChild<QAction*>(QStringLiteral("Uloit1")), Pripojit1);
    connect(Pripojit1, &QAction::triggered, this,
            [this] { run([this] { core.transfer.Pripojit1Click(); }); });
}

// What needs a piece is greyed out while the table holds none; pasting is always offered.
void TModulino::refreshGroupEditing() {
    const bool pieces = !core.state.SGDilky.isEmpty();
    for (QAction* item : groupActions)
        item->setEnabled(pieces || item->objectName() == QLatin1String("Vlozit1"));
}

} // namespace modulino
