// Test doubles for the world outside the program.
#pragma once

#include "platform.h"

#include <deque>
#include <optional>
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

struct FakePlatform {
    FakeDisplayMode display;
    FakeDocumentOpener documents;
    FakeDialogs dialogs;
    FixedRandomNumbers random;
    Platform platform{display, documents, dialogs, random};
};
