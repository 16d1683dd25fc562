**  DO NOT CHANGE THIS TEXT ! ! !
**  The localization file for the riZER v2.0  plugin.
**  To use the file - put the file with the translation of the lines in the root folder of the program Corvane (Paxtrel).
**  Author: riZER developers
**  Web: http://www.example.org/rizer
**  E-mail: rizer@example.org
001*Номер порта:
002*Переменная для входящих сообщений:
003*Открыть порт UDP. Номер порта от 49152  до 65535 (default 50150).
004*Имя пользователя (автор сообщения):
005*Текст сообщения:
006*Отослать сообщение по UDP. ( Широковещательная рассылка ).
007*Имя подпрограммы:
008*Выполнить подпрограмму. (Подпрограммы выполняются на всех клиентах в том числе и на том, с которого отсылается сообщение).
009*Тип окна сообщения:
010*Послать системное сообщение с выбором окна сообщения.
011*Закрыть UDP порт.
012*Очистить список поступивших сообщений.
