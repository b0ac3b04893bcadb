// Test doubles for the world outside the program.
#pragma once

#include "platform.h"

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

class FakeDisplayMode : public DisplayMode {
public:
    FakeDisplayMode(int width = 800, int height = 600, int bitsPerPixel = 32)
        : width(width), height(height), depth(bitsPerPixel)
    {
    }
    int screenWidth() override { return width; }
    int screenHeight() override { return height; }
    int bitsPerPixel() override { return depth; }
    void setMode(int newWidth, int newHeight, int newBitsPerPixel) override
    {
        requests.emplace_back(newWidth, newHeight, newBitsPerPixel);
        if (refuses)
            return;
        width = newWidth;
        height = newHeight;
        depth = newBitsPerPixel;
    }

    int width, height, depth;
    bool refuses = false;
    std::vector<std::tuple<int, int, int>> requests;
};

// Records what it was asked to open and keeps the late-failure calls, for
// a test to make as the desktop's opener would.
class FakeDocumentOpener : public DocumentOpener {
public:
    bool open(const QString& fileName, std::function<void()> failed) override
    {
        opened.push_back(fileName);
        if (succeeds)
            lateFailures.push_back(std::move(failed));
        return succeeds;
    }
    bool succeeds = true;
    std::vector<QString> opened;
    std::vector<std::function<void()>> lateFailures;
};

// Records every box and chooser and answers from queues: a box's default
// button and a chooser's Cancel when the queue is empty.
class FakeDialogs : public Dialogs {
public:
    std::optional<ColourChoice> chooseColour(const ColourChoice& preset) override
    {
        colourRequests.push_back(preset);
        if (colours.empty())
            return std::nullopt;
        const auto answer = colours.front();
        colours.pop_front();
        return answer;
    }
    std::vector<ColourChoice> colourRequests;
    std::deque<std::optional<ColourChoice>> colours;

    TModalResult messageBox(const MessageBoxRequest& request) override
    {
        boxes.push_back(request);
        if (answers.empty())
            return request.buttons.empty() ? mrOk : request.buttons[std::size_t(request.defaultButton)].result;
        const TModalResult answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<MessageBoxRequest> boxes;
    std::deque<TModalResult> answers;
};

// Hands out the numbers it was given, in order and over again from the
// first when they run out (0 when it was given none), and counts the
// re-seeds and the ranges asked for.
class FixedRandomNumbers : public RandomNumbers {
public:
    void reseed() override { ++reseeds; }
    int below(int bound) override
    {
        bounds.push_back(bound);
        if (numbers.empty())
            return 0;
        return numbers[next++ % numbers.size()];
    }
    std::vector<int> numbers;
    std::size_t next = 0;
    int reseeds = 0;
    std::vector<int> bounds;
};

// Records every call, with what it was given, as one line each, and fails
// the call named in failAt by running `failure`.
class RecordingPrinter : public Printer {
public:
    Resolution resolution() override
    {
        call("resolution");
        return dotsPerInch;
    }
    void setLandscape() override { call("setLandscape"); }
    void beginDocument() override { call("beginDocument"); }
    int pageWidth() override
    {
        call("pageWidth");
        return printableWidth;
    }
    void setFont(const QFont& newFont, const QColor& newColour) override
    {
        call("setFont " + newFont.family().toStdString() + " " + std::to_string(newFont.pointSize())
             + (newFont.bold() ? " bold" : "") + (newFont.italic() ? " italic" : "") + " "
             + newColour.name().toStdString());
    }
    // Ten printer pixels a character.
    int textWidth(const QString& text) override
    {
        call("textWidth " + text.toStdString());
        return 10 * int(text.size());
    }
    void textOut(int left, int top, const QString& text) override
    {
        call("textOut " + std::to_string(left) + " " + std::to_string(top) + " " + text.toStdString());
    }
    void stretchBitmap(const QRect& destination, const TPicture& picture) override
    {
        call("stretchBitmap " + std::to_string(destination.x()) + " " + std::to_string(destination.y()) + " "
             + std::to_string(destination.width()) + "x" + std::to_string(destination.height()) + " from "
             + std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()));
        bitmap = picture;
    }
    void endDocument() override { call("endDocument"); }
    void abort() override { call("abort"); }

    Resolution dotsPerInch{600, 600};
    int printableWidth = 6814;
    std::vector<std::string> calls;
    TPicture bitmap; // the last one stretched
    std::string failAt;
    std::function<void()> failure = [] { throw std::runtime_error("Printer selected is not valid"); };

private:
    void call(const std::string& line)
    {
        calls.push_back(line);
        if (!failAt.empty() && line.starts_with(failAt))
            failure();
    }
};

// The program's chance comes from `random` unless it is given another source.
struct FakePlatform {
    explicit FakePlatform(RandomNumbers* chance = nullptr)
        : platform{display, documents, dialogs, chance ? *chance : random, printer}
    {
    }
    FakeDisplayMode display;
    FakeDocumentOpener documents;
    FakeDialogs dialogs;
    FixedRandomNumbers random;
    RecordingPrinter printer;
    Platform platform;
};
