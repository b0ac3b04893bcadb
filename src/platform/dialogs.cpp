#include "dialogs.h"

MessageBoxRequest noticeBox(const QString& text, const QString& caption)
{
    MessageBoxRequest request;
    request.text = text;
    request.caption = caption;
    request.buttons = {{QStringLiteral("OK"), mrOk}};
    request.defaultButton = 0;
    request.escapeResult = mrOk;
    return request;
}

MessageBoxRequest errorBox(const QString& text, const QString& caption)
{
    MessageBoxRequest request = noticeBox(text, caption);
    request.icon = MessageIcon::Error;
    return request;
}
