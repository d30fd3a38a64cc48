#include "commands/ViewLink.h"

#include "scene/EditorState.h"
#include "scene/GroupEditing.h"
#include "scene/Numbers.h"
#include "scene/PieceEditing.h"
#include "scene/RowSelection.h"
#include "vrml/AxisOrder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace modulino {

namespace link {

namespace {

template <typename... Kinds> struct Visit : Kinds... { using Kinds::operator()...; };
template <typename... Kinds>
Visit(Kinds...) -> Visit<Kinds...>; // for compilers without aggregate deduction

QJsonObject object(const Message& message) {
    return std::visit(
        Visit{[](std::monostate) { return QJsonObject(); },
              [](const Selection& m) {
                  QJsonArray pieces;
                  for (int piece : m.pieces)
                      pieces.append(piece);
                  return QJsonObject{{QStringLiteral("kind"), QStringLiteral("selection")},
                                     {QStringLiteral("pieces"), pieces},
                                     {QStringLiteral("current"), m.current}};
              },
              [](const Frame&) {
                  return QJsonObject{{QStringLiteral("kind"), QStringLiteral("frame")}};
              },
              [](const Pick& m) {
                  return QJsonObject{{QStringLiteral("kind"), QStringLiteral("pick")},
                                     {QStringLiteral("piece"), m.piece},
                                     {QStringLiteral("ctrl"), m.ctrl}};
              },
              [](const Drag& m) {
                  return QJsonObject{
                      {QStringLiteral("kind"), QStringLiteral("drag")},
                      {QStringLiteral("piece"), m.piece},
                      {QStringLiteral("move"), QJsonArray{m.move[0], m.move[1], m.move[2]}}};
              }},
        message);
}

// A piece number: a whole number from 1 up (0 too where `zero` allows it).
std::optional<int> pieceNumber(const QJsonValue& value, bool zero = false) {
    const double n = value.toDouble(-1);
    if (!value.isDouble() || n != std::floor(n) || n < (zero ? 0 : 1) || n > 1e9)
        return std::nullopt;
    return int(n);
}

Message selection(const QJsonObject& o) {
    Selection m;
    const auto current = pieceNumber(o[QStringLiteral("current")], true);
    if (!current || !o[QStringLiteral("pieces")].isArray())
        return {};
    m.current = *current;
    for (const QJsonValue& value : o[QStringLiteral("pieces")].toArray()) {
        const auto piece = pieceNumber(value);
        if (!piece)
            return {};
        m.pieces << *piece;
    }
    return m;
}

Message pick(const QJsonObject& o) {
    const auto piece = pieceNumber(o[QStringLiteral("piece")]);
    const QJsonValue ctrl = o[QStringLiteral("ctrl")];
    if (!piece || !(ctrl.isBool() || ctrl.isUndefined()))
        return {};
    return Pick{*piece, ctrl.toBool()};
}

Message drag(const QJsonObject& o) {
    const auto piece = pieceNumber(o[QStringLiteral("piece")]);
    const QJsonArray move = o[QStringLiteral("move")].toArray();
    if (!piece || move.size() != 3)
        return {};
    Drag m{*piece, {}};
    for (int i = 0; i < 3; ++i) {
        if (!move[i].isDouble() || !std::isfinite(move[i].toDouble()))
            return {};
        m.move[std::size_t(i)] = move[i].toDouble();
    }
    return m;
}

} // namespace

QByteArray encode(const Message& message) {
    return QJsonDocument(object(message)).toJson(QJsonDocument::Compact) + '\n';
}

Message decode(QByteArrayView line) {
    const QJsonObject o = QJsonDocument::fromJson(line.trimmed().toByteArray()).object();
    const QString kind = o[QStringLiteral("kind")].toString();
    if (kind == QStringLiteral("selection"))
        return selection(o);
    if (kind == QStringLiteral("frame"))
        return Frame{};
    if (kind == QStringLiteral("pick"))
        return pick(o);
    if (kind == QStringLiteral("drag"))
        return drag(o);
    return {};
}

} // namespace link

ViewLinking::ViewLinking(EditorState& state, PieceEditing& editing, RowSelection& rows,
                         GroupEditing& group)
    : s(state)
    , editing(editing)
    , rows(rows)
    , group(group) {
    // Reading a selection of many rows costs a pass over the table: only after it moved.
    const PieceTable* table = &s.SGDilky;
    const auto moved = [this] {
        selectionMoved = true;
    };
    heard << QObject::connect(table, &PieceTable::selectionChanged, moved)
          << QObject::connect(table, &PieceTable::rowsAppended, moved)
          << QObject::connect(table, &PieceTable::rowRemoved, moved)
          << QObject::connect(table, &PieceTable::rowInserted, moved)
          << QObject::connect(table, &PieceTable::piecesRemoved, moved)
          << QObject::connect(table, &PieceTable::reset, moved);
}

ViewLinking::~ViewLinking() {
    for (const QMetaObject::Connection& connection : std::as_const(heard))
        QObject::disconnect(connection);
}

link::Message ViewLinking::take(QByteArrayView line) {
    link::Message message = link::decode(line);
    if (const auto* pick = std::get_if<link::Pick>(&message))
        pickInView(*pick);
    else if (const auto* drag = std::get_if<link::Drag>(&message))
        dragInView(*drag);
    else
        message = std::monostate{};
    return message;
}

void ViewLinking::pickInView(const link::Pick& pick) {
    if (!s.SGDilky.isPieceRow(pick.piece))
        return;
    // The pointer is over the view, not over the table's colour column.
    s.OverColourColumn = false;
    if (pick.ctrl)
        rows.SGDilkyToggleRow(pick.piece);
    else
        editing.selectRow(pick.piece);
}

void ViewLinking::dragInView(const link::Drag& drag) {
    const int row = drag.piece;
    if (!s.SGDilky.isPieceRow(row))
        return;
    const History::Step step(s.history);
    pickInView({row, false});
    // The writer puts cell columns[k] at the file's k-th place; the move goes back the same way.
    unsigned columns[3] = {PieceTable::XColumn, PieceTable::YColumn, PieceTable::ZColumn};
    SwapAxes(columns[0], columns[1], columns[2], 0, unsigned(s.AxisOrder));
    for (std::size_t k = 0; k < 3; ++k) {
        const int column = int(columns[k]);
        const long tenths = std::lround(drag.move[k] * 10);
        const auto now = tenthsOf(s.SGDilky.cell(column, row));
        if (tenths == 0 || !now)
            continue;
        const UpDown& range = s.upDown(UpDownId(column - PieceTable::RxColumn));
        const int moved = int(std::clamp<long>(*now + tenths, range.min, range.max));
        group.SGDilkySetEditText(column, row, TenthsText(moved, 3));
    }
}

link::Selection ViewLinking::selection() const {
    const int current = s.SGDilky.isPieceRow(s.SGDilky.currentRow()) ? s.SGDilky.currentRow() : 0;
    link::Selection selection{{}, current};
    for (int row : rows.selectedRows())
        selection.pieces << row;
    return selection;
}

QByteArray ViewLinking::selectionToSend(bool always) {
    if (!always && !selectionMoved)
        return {};
    selectionMoved = false;
    link::Selection now = selection();
    if (!always && now == sent)
        return {};
    sent = std::move(now);
    return link::encode(sent);
}

} // namespace modulino
