#!/usr/bin/env python3
"""Writes the two riZER.loc samples of this folder: the Russian template
(Windows-1251) and the English translation (ASCII), CR LF line ends.

Each key line is the key followed at once by its text. A key that serves both
an action's hint and its dialog's information text (003*, 006*, 008*, 010*)
gets the information text, which begins with the hint.

Run from anywhere:  python3 samples/make_samples.py
"""
import os

HEADER = [
    "**  DO NOT CHANGE THIS TEXT ! ! !",
    "**  The localization file for the riZER v2.0  plugin.",
    "**  To use the file - put the file with the translation of the lines in the root folder "
    "of the program Corvane (Paxtrel).",
    "**  Author: riZER developers",
    "**  Web: http://www.example.org/rizer",
    "**  E-mail: rizer@example.org",
]

RUSSIAN = [
    ("001*", "Номер порта:"),
    ("002*", "Переменная для входящих сообщений:"),
    ("003*", "Открыть порт UDP. Номер порта от 49152  до 65535 (default 50150)."),
    ("004*", "Имя пользователя (автор сообщения):"),
    ("005*", "Текст сообщения:"),
    ("006*", "Отослать сообщение по UDP. ( Широковещательная рассылка )."),
    ("007*", "Имя подпрограммы:"),
    ("008*", "Выполнить подпрограмму. (Подпрограммы выполняются на всех клиентах "
             "в том числе и на том, с которого отсылается сообщение)."),
    ("009*", "Тип окна сообщения:"),
    ("010*", "Послать системное сообщение с выбором окна сообщения."),
    ("011*", "Закрыть UDP порт."),
    ("012*", "Очистить список поступивших сообщений."),
]

ENGLISH = [
    ("001*", "Port number:"),
    ("002*", "Variable for incoming messages:"),
    ("003*", "Open the UDP port. Port number from 49152 to 65535 (default 50150)."),
    ("004*", "User name (author of the message):"),
    ("005*", "Message text:"),
    ("006*", "Send a message over UDP. ( Broadcast )."),
    ("007*", "Subroutine name:"),
    ("008*", "Run a subroutine. (Subroutines run on every client, including the one "
             "that sends the message)."),
    ("009*", "Message box type:"),
    ("010*", "Send a system message with a choice of message box."),
    ("011*", "Close the UDP port."),
    ("012*", "Clear the list of received messages."),
]


def write(path, lines, encoding):
    data = "".join(line + "\r\n" for line in lines).encode(encoding)
    with open(path, "wb") as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, keys, encoding in (("riZER.loc.ru", RUSSIAN, "cp1251"),
                                 ("riZER.loc.en", ENGLISH, "ascii")):
        lines = HEADER + [key + text for key, text in keys]
        assert all(len(line.encode(encoding)) <= 259 for line in lines)
        write(os.path.join(here, name), lines, encoding)


if __name__ == "__main__":
    main()
