#include "support/TypingTargets.h"

#include "support/TempFolder.h"
#include "support/X11TestDisplay.h"

#include <QElapsedTimer>
#include <QProcess>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace klt::test {

namespace {

int Remaining(const QElapsedTimer& clock, std::chrono::milliseconds bound) {
    return std::max(0, static_cast<int>(bound.count() - clock.elapsed()));
}

std::string UniqueTitle(const char* kind) {
    static int count = 0;
    return std::string("klt-") + kind + "-" + std::to_string(getpid()) + "-" + std::to_string(++count);
}

// A terminal (xterm, foot) runs `stty raw -echo`, writes a line once it is up, and then copies every
// byte typed to a pipe that the test reads.
class RawTerminal final : public TypingTarget {
public:
    // The terminal's arguments are followed by those of the command it runs.
    RawTerminal(const WindowFinder& find, const QString& program, const char* kind, QStringList arguments)
        : m_title(UniqueTitle(kind)) {
        const std::string fifo = m_folder.PathOf("bytes");
        mkfifo(fifo.c_str(), 0600);
        m_fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        const QString script = QString("stty raw -echo && { echo \"$WINDOWID\"; exec cat; } > '%1'")
                                   .arg(QString::fromStdString(fifo));
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments.replaceInStrings("%title", QString::fromStdString(m_title))
                                     << "sh"
                                     << "-c" << script);
        if (ReadUntil([this] { return m_bytes.find('\n') != std::string::npos; })) {
            m_window = find(m_title);
        }
        m_bytes.erase(0, m_bytes.find('\n') + 1);
    }
    ~RawTerminal() override {
        m_process.kill();
        m_process.waitForFinished(static_cast<int>(kBound.count()));
        close(m_fd);
    }
    WindowId Window() const override { return m_window; }
    const std::string& Title() const override { return m_title; }
    std::string Received(const std::string& expected, std::chrono::milliseconds bound) override {
        ReadUntil([&] { return m_bytes.size() >= expected.size(); }, bound);
        return m_bytes;
    }

private:
    template <typename Done> bool ReadUntil(Done done, std::chrono::milliseconds bound = kBound) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            pollfd fd{m_fd, POLLIN, 0};
            if (poll(&fd, 1, Remaining(clock, bound)) <= 0) {
                return false;
            }
            char buffer[4096];
            const ssize_t count = read(m_fd, buffer, sizeof buffer);
            if (count > 0) {
                m_bytes.append(buffer, static_cast<size_t>(count));
            } else if (count == 0 && (fd.revents & POLLHUP)) {
                return false;
            }
        }
        return true;
    }

    std::string m_title;
    klt::testing::TempFolder m_folder{"klt_terminal_"};
    QProcess m_process;
    int m_fd = -1;
    std::string m_bytes;
    WindowId m_window = 0;
};

// A program with one entry field that prints the field's text when Return confirms it.
class ConfirmedEntry final : public TypingTarget {
public:
    ConfirmedEntry(const WindowFinder& find, const QString& program, const QStringList& arguments,
                   std::string title, std::function<void()> pressReturn, const char* platform = "xcb")
        : m_title(std::move(title)), m_pressReturn(std::move(pressReturn)) {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GDK_BACKEND", platform == std::string("xcb") ? "x11" : platform);
        environment.insert("QT_QPA_PLATFORM", platform);
        environment.insert("NO_AT_BRIDGE", "1");
        environment.insert("LC_ALL", "C.UTF-8");
        m_process.setProcessEnvironment(environment);
        m_process.start(program, arguments);
        m_window = find(m_title);
    }
    ~ConfirmedEntry() override {
        m_process.kill();
        m_process.waitForFinished(static_cast<int>(kBound.count()));
    }
    WindowId Window() const override { return m_window; }
    const std::string& Title() const override { return m_title; }
    std::string Received(const std::string&, std::chrono::milliseconds bound) override {
        m_pressReturn();
        m_process.waitForFinished(static_cast<int>(bound.count()));
        std::string text = m_process.readAllStandardOutput().toStdString();
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        return text;
    }

private:
    std::string m_title;
    std::function<void()> m_pressReturn;
    QProcess m_process;
    WindowId m_window = 0;
};

} // namespace

std::unique_ptr<TypingTarget> StartQtLineEdit(const WindowFinder& find, std::function<void()> pressReturn,
                                              const char* platform) {
    const std::string title = UniqueTitle("qt");
    return std::make_unique<ConfirmedEntry>(find, KLT_LINE_EDIT_TARGET,
                                            QStringList{QString::fromStdString(title)}, title,
                                            std::move(pressReturn), platform);
}

std::unique_ptr<TypingTarget> StartXterm(const WindowFinder& find) {
    return std::make_unique<RawTerminal>(find, "xterm", "xterm",
                                         QStringList{"-u8", "-title", "%title", "-e"});
}

std::unique_ptr<TypingTarget> StartFoot(const WindowFinder& find) {
    return std::make_unique<RawTerminal>(find, "foot", "foot", QStringList{"-T", "%title"});
}

std::unique_ptr<TypingTarget> StartGtkEntry(const WindowFinder& find, std::function<void()> pressReturn,
                                            const char* platform) {
    const std::string title = UniqueTitle("gtk");
    return std::make_unique<ConfirmedEntry>(
        find, "zenity",
        QStringList{"--entry", "--title", QString::fromStdString(title), "--text", "Type here"}, title,
        std::move(pressReturn), platform);
}

} // namespace klt::test
