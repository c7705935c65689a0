#include "support/Harness.h"

MessageAnswers::MessageAnswers() {
    SetMessageHandler([this](const MessageRequest& request) {
        shown.push_back(request);
        if (answers.empty())
            return request.yesNo ? MsgAnswer::No : MsgAnswer::Ok;
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    });
}

MessageAnswers::~MessageAnswers() {
    SetMessageHandler({});
}

Harness::Harness(RecordingHost::Setup setup) {
    auto slot = std::make_shared<std::unique_ptr<RecordingHost>>(
        std::make_unique<RecordingHost>(std::move(setup)));
    host_ = slot->get();
    host_->releasedFlag = &released_;
    main_ = std::make_unique<frmMain>([slot]() -> std::unique_ptr<MidiHost> {
        if (!*slot)
            throw HostError("the recording host was already handed out");
        return std::move(*slot);
    });
}

void Harness::load() {
    main_->Form_Load();
    clear();
}

void Harness::loadNative() {
    main_->Form_Load();
    main_->btnInitNativeMode_Click();
    clear();
}

void Harness::clear() {
    host_->calls.clear();
    host_->wire.clear();
}

void Harness::report(const std::string& payload) {
    host_->raiseSysEx("F0 42 40 6E 08 " + payload + " F7");
}
