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

void ScenePage::call(const QString& script) {
    if (ready)
        runJavaScript(script);
    else
        waitingScript = script; // only the latest scene matters
}

void ScenePage::pageLoaded(bool ok) {
    if (!ok) {
        emit failed(QStringLiteral("Stránku s prohlížečem X_ITE se nepodařilo načíst."));
        return;
    }
    ready = true;
    if (waitingScript)
        runJavaScript(*std::exchange(waitingScript, std::nullopt));
}

void ScenePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                         int line, const QString& source) {
    // X_ITE reports through the console too; MODULINO_VIEW_CONSOLE=1 shows it on standard error.
    static const bool echo = qEnvironmentVariableIntValue("MODULINO_VIEW_CONSOLE") != 0;
    if (echo)
        std::fprintf(stderr, "%s:%d: %s\n", qPrintable(source), line, qPrintable(message));
    if (!message.startsWith(AnswerPrefix))
        return;
    const QJsonObject answer =
        QJsonDocument::fromJson(message.sliced(AnswerPrefix.size()).toUtf8()).object();
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
}

} // namespace modulino::view
