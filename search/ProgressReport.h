#pragma once

#include <QElapsedTimer>
#include <functional>

namespace search {

// Told how far the pass has come, 0 to 100 percent: at the start, at the end and, between,
// at most a few times a second, so that repainting the progress costs nothing worth noting.
using Progress = std::function<void(int percent)>;

// What a pass over the training records tells of its progress: 0 at once, 100 at the end and,
// between, a change at most every kEveryMs. A repaint of the progress costs about what reading
// a thousand records does.
class ProgressReport {
public:
    static constexpr qint64 kEveryMs = 250;

    explicit ProgressReport(const Progress& progress) : progress_(progress) {
        timer_.start();
        Tell(0);
    }
    void At(qint64 percent) {
        if (percent != told_ && timer_.elapsed() >= kEveryMs)
            Tell(int(percent));
    }
    void Done() { Tell(100); }

private:
    void Tell(int percent) {
        if (!progress_ || percent == told_)
            return;
        told_ = percent;
        timer_.restart();
        progress_(percent);
    }
    const Progress& progress_;
    QElapsedTimer timer_;
    int told_ = -1;
};

} // namespace search
