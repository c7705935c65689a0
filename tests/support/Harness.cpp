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
    runner_ = std::make_unique<EngineRunner>(host_->tap());
    host_->drive(*runner_);
    window_ = std::make_unique<frmMain>(*runner_, [slot]() -> std::unique_ptr<MidiHost> {
        if (!*slot)
            throw HostError("the recording host was already handed out");
        return std::move(*slot);
    });
}

void Harness::load() {
    window_->Form_Load();
    clear();
}

void Harness::loadNative() {
    window_->Form_Load();
    window_->btnInitNativeMode_Click();
    clear();
}

std::vector<std::string> Harness::wire() {
    if (!released_)
        settle();
    return host_->wire;
}

void Harness::clear() {
    settle();
    host_->calls.clear();
    host_->wire.clear();
}

void Harness::run(Task chain) {
    main().Run(std::move(chain));
    settle();
}

void Harness::report(const std::string& payload) {
    host_->raiseSysEx("F0 42 40 6E 08 " + payload + " F7");
}

void Harness::reportDuringNextWait(const std::string& payload) {
    host_->duringNextWait([this, payload] { report(payload); });
}
