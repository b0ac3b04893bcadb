// Qt's offscreen platform with one screen of a chosen size, for what must
// see the main window at the scale that fills a real screen. Made before
// the application, which reads it.
#pragma once

#include <QTemporaryFile>

#include <stdexcept>
#include <string>

class OffscreenScreen {
public:
    OffscreenScreen(int width, int height)
    {
        if (!configuration.open())
            throw std::runtime_error("cannot write the offscreen screen's configuration");
        configuration.write(QString(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,)"
                                    R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                                .arg(width)
                                .arg(height)
                                .toUtf8());
        configuration.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + configuration.fileName().toLocal8Bit());
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0"); // as the program runs: at its own scale only
    }

private:
    QTemporaryFile configuration;
};
