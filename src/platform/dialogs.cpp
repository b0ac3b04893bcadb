#include "dialogs.h"

MessageBoxRequest errorBox(const QString& text, const QString& caption)
{
    MessageBoxRequest request;
    request.text = text;
    request.caption = caption;
    request.icon = MessageIcon::Error;
    request.buttons = {{QStringLiteral("OK"), mrOk}};
    request.defaultButton = 0;
    request.escapeResult = mrOk;
    return request;
}
