-- Applied by scripts/package.sh with msibuild after wixl, one statement a
-- line, after codepage-1251.idt has set the database code page: what wixl
-- 0.101 cannot express.
--
-- Russian texts, referred to from kavrel.wxs as [KavrelCaption] and
-- [KavrelNewerInstalled]. The caption is the add-on's, as the library
-- registers it.
INSERT INTO `Property` (`Property`, `Value`) VALUES ('KavrelCaption', 'Работа с высотными отметками')
INSERT INTO `Property` (`Property`, `Value`) VALUES ('KavrelNewerInstalled', 'Уже установлена более новая версия KAVREL. Чтобы вернуться к этой версии, сначала удалите установленную.')
-- The class's server path as DllRegisterServer writes it: short when the
-- folder has a space (it has in Program Files), the full name otherwise.
UPDATE `Component` SET `Condition` = 'INSTALLFOLDER >< " "' WHERE `Component` = 'ServerShortPath'
UPDATE `Component` SET `Condition` = 'NOT (INSTALLFOLDER >< " ")' WHERE `Component` = 'ServerLongPath'
