#include "orvel/shell/DetailScreenModel.h"

#include "orvel/shell/MarkdownPlainText.h"
#include "orvelkit/presentation/PresentationHelpers.h"
#include "orvelkit/presentation/Triage.h"
#include "orvelkit/presentation/UpdateDetail.h"

#include <algorithm>

namespace Orvel {

namespace {

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Whether the Markdown shows any text once rendered.
bool rendersText(const std::string& markdown) {
    const auto plain = MarkdownPlainText::render(markdown);
    return std::any_of(plain.begin(), plain.end(),
                       [](unsigned char c) { return c > ' ' && c != 0x7F; });
}

} // namespace

DetailScreenModel::DetailScreenModel(AppModel& model, OrvelKit::Executor& executor, QObject* parent)
    : QObject(parent), model_(model),
      follower_(model, executor,
                {ModelField::path, ModelField::inbox, ModelField::now, ModelField::config,
                 ModelField::briefingBaseline, ModelField::useDevelopmentData},
                [this] { recompute(); }) {
    recompute();
}

DetailScreenModel::~DetailScreenModel() = default;

void DetailScreenModel::complete() {
    if (available_) {
        model_.completeAttention(updateId_.toStdString());
    }
}

void DetailScreenModel::recompute() {
    const auto screen = model_.current();
    const auto note =
        screen.kind == AppScreen::Kind::detail ? model_.note(screen.id) : std::nullopt;
    available_ = note.has_value();
    updateId_ = fromStd(screen.kind == AppScreen::Kind::detail ? screen.id : std::string());
    if (!note) {
        dot_ = sender_ = age_ = reportedTitle_ = body_ = plainText_ = details_ = hint_ =
            linkLabel_ = linkUrl_ = QString();
        waitingOnYou_ = showsDone_ = false;
        emit changed();
        return;
    }
    namespace P = OrvelKit::Presentation;
    dot_ = fromStd(OrvelKit::Json::text(OrvelKit::statusDot(P::effectiveStatus(*note))));
    sender_ = fromStd(P::senderLabel(*note));
    waitingOnYou_ = P::needsYou(*note);
    age_ = fromStd(P::relativeTime(note->createdAt, model_.now()));
    reportedTitle_ = tr("What %1 reported").arg(sender_);
    if (note->body && rendersText(*note->body)) {
        body_ = fromStd(*note->body);
        plainText_.clear();
    } else {
        body_.clear();
        plainText_ = fromStd(note->title);
    }
    details_ = note->details ? fromStd(*note->details) : QString();
    hint_ =
        tr("Orvel shows the update — approve it in %1.").arg(fromStd(P::approvingAgentName(*note)));
    const auto link = P::firstOpenableLink(note->links);
    linkLabel_ = link ? fromStd(link->label) : QString();
    linkUrl_ = link ? fromStd(link->url) : QString();
    const auto attention = model_.smartBriefing().attention;
    showsDone_ = std::any_of(attention.begin(), attention.end(),
                             [&](const OrvelKit::AgentRow& row) { return row.id == note->id; });
    emit changed();
}

} // namespace Orvel
