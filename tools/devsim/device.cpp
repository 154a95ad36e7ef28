#include "devsim/device.h"

namespace morla::devsim {

namespace {
const QString kRead = QStringLiteral("*40f");

QString outcomeText(Outcome o) {
    switch (o) {
        case Outcome::Applied:
            return QStringLiteral("applied");
        case Outcome::WrongKey:
            return QStringLiteral("ignored, wrong key");
        case Outcome::Rejected:
            return QStringLiteral("ignored");
        case Outcome::Unsupported:
            break;
    }
    return QStringLiteral("acknowledged only");
}
}  // namespace

Device::Device(const MemoryImage& memory, const MemoryImage& factory, const Faults& faults,
               const DeviceTiming& timing, QObject* parent)
    : QObject(parent),
      memory_(memory),
      factory_(factory),
      behaviour_(BehaviourOf(memory.model().id)),
      faults_(faults),
      timing_(timing) {
    closing_.setSingleShot(true);
    closing_.setTimerType(Qt::PreciseTimer);
    connect(&closing_, &QTimer::timeout, this, &Device::closingTimedOut);
    abandon_.setSingleShot(true);
    connect(&abandon_, &QTimer::timeout, this, &Device::abandon);
}

void Device::receive(const QByteArray& characters) {
    for (char c : characters) take(c);
}

void Device::take(char c) {
    if (inMessage_) {
        if (timing_.abandonMs > 0) abandon_.start(timing_.abandonMs + faults_.delayMs);
        takeInMessage(c);
        return;
    }
    if (c == 'D') {
        inMessage_ = true;
        message_.clear();
        loose_.clear();
        if (timing_.abandonMs > 0) abandon_.start(timing_.abandonMs + faults_.delayMs);
        acknowledge();
        return;
    }
    // The program's read retry writes the read command in one piece, without "D" and
    // without waiting for acknowledgments: answer it with the reply alone.
    loose_ = (loose_ + QChar::fromLatin1(c)).right(kRead.size());
    if (loose_ == kRead) {
        loose_.clear();
        sendReply(QStringLiteral("unframed read"));
    }
}

void Device::takeInMessage(char c) {
    if (closing_.isActive()) {
        closing_.stop();
        if (c == 'P') {
            inMessage_ = false;
            abandon_.stop();
            handle(message_);
            return;
        }
        // Something other than "P" right after a "1": that "1" belonged to the message.
        message_ += '1';
        acknowledge();
    }
    if (c == '1') {
        closing_.start(timing_.closingWaitMs);
        return;
    }
    message_ += QChar::fromLatin1(c);
    acknowledge();
}

void Device::acknowledge() {
    out(QByteArrayLiteral("T"));
}

void Device::closingTimedOut() {
    message_ += '1';
    acknowledge();
}

void Device::abandon() {
    closing_.stop();
    inMessage_ = false;
    emit note(QStringLiteral("message dropped unfinished: \"%1\"").arg(message_));
    message_.clear();
}

void Device::handle(const QString& message) {
    emit note(QStringLiteral("message \"%1\"").arg(message));
    if (writePending_) {
        writePending_ = false;
        // The data text never starts like a command; a command here means the program
        // gave up on the write.
        if (!message.startsWith('*') && !message.startsWith('#')) {
            storeData(message);
            return;
        }
        emit note(QStringLiteral("write abandoned: a command came instead of the data text"));
    }

    if (message == kRead) {
        sendReply(QStringLiteral("read"));
    } else if (message == QLatin1String("*42") || message == QLatin1String("*42f")) {
        writePending_ = true;
        emit note(QStringLiteral("write: the next message is the data text"));
    } else if (message == QLatin1String("*49f")) {
        memory_ = factory_;
        emit note(QStringLiteral("factory reset"));
    } else if (message == QLatin1String("*43f")) {
        report(QStringLiteral("key reset"), behaviour_.resetKey
                                                ? behaviour_.resetKey(memory_, factory_)
                                                : Result{Outcome::Unsupported, {}});
    } else if (message.startsWith(QLatin1String("*46f")) ||
               message.startsWith(QLatin1String("*47f"))) {
        const QString what = message.startsWith(QLatin1String("*46f")) ? QStringLiteral("verify")
                                                                       : QStringLiteral("hang up");
        const QString given = message.mid(4);
        const QString key = behaviour_.key ? behaviour_.key(memory_) : QString();
        emit note(QStringLiteral("%1 with key \"%2\"%3")
                      .arg(what, given,
                           key.isEmpty()  ? QString()
                           : key == given ? QStringLiteral(" (the device key)")
                                          : QStringLiteral(" (not the device key %1)").arg(key)));
    } else if (message.startsWith('#') || message.startsWith('*') || behaviour_.applySingle) {
        // The Sorvanell's commands start with its key, not with "#".
        report(QStringLiteral("single command"),
               behaviour_.applySingle ? behaviour_.applySingle(memory_, message.split(','))
                                      : Result{Outcome::Unsupported, {}});
    } else {
        emit note(QStringLiteral("unknown message, acknowledged only"));
    }
}

void Device::storeData(const QString& dataText) {
    if (!behaviour_.applyData) {
        report(QStringLiteral("data text"), {Outcome::Unsupported, {}});
        return;
    }
    const MemoryImage before = memory_;
    const Result result = behaviour_.applyData(memory_, dataText);
    report(QStringLiteral("data text"), result);
    if (result.outcome != Outcome::Applied) return;
    ++writes_;
    if (faults_.keepOnStar && behaviour_.dataAt > 0) {
        for (int i = 0; i < dataText.size(); ++i)
            if (dataText.at(i) == '*')
                memory_.set(behaviour_.dataAt + i, before.mid(behaviour_.dataAt + i, 1));
    }
    for (const Faults::Stuck& s : faults_.stuck) {
        if (s.write != 0 && s.write != writes_) continue;
        if (s.position > memory_.digits().size()) continue;
        // The low bit of the stored digit flipped: still a digit the device can send.
        memory_.setDigit(s.position, memory_.digit(s.position) ^ 1);
        emit note(QStringLiteral("stored digit %1 changed to %2")
                      .arg(s.position)
                      .arg(memory_.mid(s.position, 1)));
    }
}

void Device::report(const QString& what, const Result& result) {
    QString line = what + QStringLiteral(": ") + outcomeText(result.outcome);
    if (!result.detail.isEmpty()) line += QStringLiteral(" (") + result.detail + ')';
    emit note(line);
}

void Device::sendReply(const QString& why) {
    QString map = memory_.reply().mid(4);
    ++replies_;
    QStringList faultNotes;
    if (replies_ <= faults_.badSumReplies) {
        // Flip the low bit of the first block's checksum: still a valid reply character.
        map[129] = QChar(map.at(129).unicode() ^ 1);
        faultNotes << QStringLiteral("wrong checksum");
    }
    QByteArray reply = QByteArrayLiteral("0245") + map.toLatin1();
    if (replies_ == 1) {
        for (int n : faults_.corrupt) {
            if (n > reply.size()) continue;
            reply[n - 1] = char(reply.at(n - 1) ^ 1);
            faultNotes << QStringLiteral("character %1 altered").arg(n);
        }
    }
    if (faults_.cutAfter > 0 && reply.size() > faults_.cutAfter) {
        reply.truncate(faults_.cutAfter);
        faultNotes << QStringLiteral("cut after %1").arg(faults_.cutAfter);
    }
    emit note(
        QStringLiteral("%1: reply %2 of %3 characters%4")
            .arg(why)
            .arg(replies_)
            .arg(reply.size())
            .arg(faultNotes.isEmpty() ? QString() : QStringLiteral(", ") + faultNotes.join(", ")));
    out(reply);
}

void Device::out(const QByteArray& characters) {
    if (faults_.silent) return;
    QByteArray kept;
    for (char c : characters) {
        ++sent_;
        if (faults_.drop.contains(sent_)) {
            emit note(QStringLiteral("character %1 ('%2') dropped").arg(sent_).arg(QChar(c)));
            continue;
        }
        kept += c;
    }
    if (!kept.isEmpty()) emit send(kept);
}

}  // namespace morla::devsim
