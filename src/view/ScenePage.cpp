#include "ScenePage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QWebEngineSettings>
#include <cstdio>

namespace modulino::view {

namespace {

const QString AnswerPrefix = QStringLiteral("modulino\t");

QString resourceText(const QString& name) {
    QFile file(QStringLiteral(":/page/") + name);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

QString hostPage() {
    QString html = resourceText(QStringLiteral("viewer.html"));
    for (const QString& name : {QStringLiteral("xite15"), QStringLiteral("viewer")})
        html.replace(QStringLiteral("/*%1_JS*/").arg(name.toUpper()),
                     resourceText(name + QStringLiteral(".js")));
    return html;
}

// A JavaScript string literal holding text.
QString literal(const QString& text) {
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QStringList strings(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list << item.toString();
    return list;
}

QList<int> numbers(const QJsonValue& value) {
    QList<int> list;
    for (const QJsonValue& item : value.toArray())
        list << item.toInt();
    return list;
}

} // namespace

ScenePage::ScenePage(const QString& xiteDir, QObject* parent)
    : QWebEnginePage(parent) {
    // X_ITE loads its components from files beside x_ite.js.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings()->setAttribute(QWebEngineSettings::WebGLEnabled, true);
    connect(this, &QWebEnginePage::loadFinished, this, &ScenePage::pageLoaded);
    setHtml(hostPage(), QUrl::fromLocalFile(xiteDir + QStringLiteral("/viewer.html")));
}

void ScenePage::showScene(const QString& text, const QString& path, bool keepCamera) {
    call(QStringLiteral("modulino.show(%1, %2, %3)")
             .arg(literal(text), keepCamera ? QStringLiteral("true") : QStringLiteral("false"),
                  literal(QUrl::fromLocalFile(path).toString())));
}

void ScenePage::bindViewpoint(int index) {
    call(QStringLiteral("modulino.bindViewpoint(%1)").arg(index));
}

void ScenePage::probe(const QString& function) {
    call(QStringLiteral("modulino.%1()").arg(function));
}

void ScenePage::exportScene(const QString& format, double scale) {
    runJavaScript(resourceText(QStringLiteral("export.js")));
    call(QStringLiteral("modulinoExport.run(%1, %2)").arg(literal(format)).arg(scale),
         QStringLiteral("export"));
}

// The page hands the file over in base64 pieces, each one small enough for a script's result.
void ScenePage::fetchExport(int chunk, const QJsonObject& answer, QByteArray bytes) {
    if (chunk == answer[QStringLiteral("chunks")].toInt()) {
        emit exported(bytes, answer[QStringLiteral("milliseconds")].toInt());
        return;
    }
    runJavaScript(QStringLiteral("modulinoExport.chunk(%1)").arg(chunk),
                  [=, this, bytes = std::move(bytes)](const QVariant& piece) mutable {
                      bytes += QByteArray::fromBase64(piece.toString().toLatin1());
                      fetchExport(chunk + 1, answer, std::move(bytes));
                  });
}

void ScenePage::markPieces(const QList<int>& pieces, int current) {
    QJsonArray list;
    for (int piece : pieces)
        list.append(piece);
    call(QStringLiteral("modulino.mark(%1, %2)")
             .arg(QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact)))
             .arg(current),
         QStringLiteral("mark"));
}

void ScenePage::frameMark() {
    call(QStringLiteral("modulino.frame()"), QStringLiteral("frame"));
}

void ScenePage::call(const QString& script, const QString& key) {
    if (ready)
        runJavaScript(script);
    else
        waitingScripts[key] = script; // only the latest scene matters
}

void ScenePage::pageLoaded(bool ok) {
    if (!ok) {
        emit failed(QStringLiteral("Stránku s prohlížečem X_ITE se nepodařilo načíst."));
        return;
    }
    ready = true;
    QMap<QString, QString> waiting = std::exchange(waitingScripts, {});
    if (const QString show = waiting.take(QStringLiteral("show")); !show.isEmpty())
        runJavaScript(show); // the scene first, then what works on it
    for (const QString& script : std::as_const(waiting))
        runJavaScript(script);
}

void ScenePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                         int line, const QString& source) {
    // X_ITE reports through the console too; MODULINO_VIEW_CONSOLE=1 shows it on standard error.
    static const bool echo = qEnvironmentVariableIntValue("MODULINO_VIEW_CONSOLE") != 0;
    if (echo)
        std::fprintf(stderr, "%s:%d: %s\n", qPrintable(source), line, qPrintable(message));
    if (!message.startsWith(AnswerPrefix))
        return;
    answered(QJsonDocument::fromJson(message.sliced(AnswerPrefix.size()).toUtf8()).object());
}

void ScenePage::answered(const QJsonObject& answer) {
    const QString kind = answer[QStringLiteral("kind")].toString();
    if (kind == QStringLiteral("shown"))
        emit shown(strings(answer[QStringLiteral("names")]),
                   answer[QStringLiteral("bound")].toInt(),
                   numbers(answer[QStringLiteral("milliseconds")])
                       << answer[QStringLiteral("heapMegabytes")].toInt());
    else if (kind == QStringLiteral("progress"))
        emit progress(answer[QStringLiteral("made")].toInt(),
                      answer[QStringLiteral("total")].toInt());
    else if (kind == QStringLiteral("failed"))
        emit failed(answer[QStringLiteral("message")].toString());
    else if (kind == QStringLiteral("probed"))
        emit probed(strings(answer[QStringLiteral("lines")]));
    else if (kind == QStringLiteral("picked"))
        emit picked(answer[QStringLiteral("piece")].toInt(),
                    answer[QStringLiteral("ctrl")].toBool());
    else if (kind == QStringLiteral("marked"))
        emit marked(answer[QStringLiteral("current")].toInt());
    else if (kind == QStringLiteral("dragged")) {
        const QJsonArray move = answer[QStringLiteral("move")].toArray();
        emit dragged(answer[QStringLiteral("piece")].toInt(),
                     {move[0].toDouble(), move[1].toDouble(), move[2].toDouble()});
    } else if (kind == QStringLiteral("exported"))
        fetchExport(0, answer, {});
}

} // namespace modulino::view
