# -*- coding: utf-8 -*-
"""Every word that appears in the program's pictures, kept apart from the drawing code so that a translator
can correct a label without reading any of it. generate.py turns these into res/bitmaps/*.bmp.

Button labels are (text, icon) pairs; the icon names are the glyphs drawn by generate.py.
"""

PRODUCT = "Tamo CD"
TAGLINE = "Katalog programów  •  Katalog programů"

# The main window's buttons. Where only a Polish set exists, the picture serves both languages, so its
# label carries both words (or one that both languages share).
MAIN_BUTTONS = {
    "RUN": {"P": ("Uruchom", "play"), "C": ("Spustit", "play")},
    "COPY": {"P": ("Kopiuj", "copy"), "C": ("Kopírovat", "copy")},
    "CANCEL": {"P": ("Wyjście", "power"), "C": ("Konec", "power")},
    "MENU": {"P": ("Język / Jazyk", "globe")},
    "INST": {"P": ("Instaluj / Instalovat", "install")},
    "HELP": {"P": ("Pomoc / Nápověda", "help")},
    "ZOT": {"P": ("Kontakt  ZoT", "person")},
}

# Buttons of the copy destination and folder browser dialogs.
DIALOG_BUTTONS = {
    "OK": {"": ("OK", "check")},
    "ANUL": {"P": ("Anuluj", "cross"), "C": ("Zrušit", "cross")},
    "EXPL": {"P": ("Przeglądaj...", "folder"), "C": ("Procházet...", "folder")},
}

# Exit confirmation: the buttons have no underscore before the language letter.
YES = {"P": "Tak", "C": "Ano"}
NO = {"P": "Nie", "C": "Ne"}
QUESTION = {"P": "Czy na pewno chcesz zakończyć?", "C": "Opravdu chcete skončit?"}

# Language chooser.
LANGUAGE_HEADING = "Wybierz język  /  Vyberte jazyk"
LANGUAGE_NAMES = {"PL": "Polski", "CZ": "Čeština"}
LANGUAGE_HINT = [
    "Język można później zmienić w oknie programu.",
    "Jazyk lze později změnit v okně programu.",
]

# Caption printed on the main window's background, which both languages share.
DESCRIPTION_CAPTION = "Opis  /  Popis"

# The maker's contact picture (IDB_CONTACT_POLISH and IDB_CONTACT_CZECH). All details are fictional:
# reserved example domains and 555 telephone numbers.
CONTACT = {
    "P": {
        "title": "Kontakt",
        "close_hint": "Kliknij w dowolnym miejscu, aby zamknąć.",
        "sections": [
            ("Wydawca", [
                "ZoT Software",
                "ul. Zamkowa 12",
                "43-400 Cieszyn, Polska",
            ]),
            ("Przedstawicielstwo w Czechach", [
                "ZoT Software s.r.o.",
                "Hlavní třída 25",
                "737 01 Český Těšín",
            ]),
            ("Pomoc techniczna", [
                ("tel.", "+48 33 555 01 23"),
                ("faks", "+48 33 555 01 24"),
                ("e-mail", "zot@example.com"),
                ("www", "www.example.com"),
                ("godziny", "pon.–pt. 9:00–17:00"),
            ]),
        ],
    },
    "C": {
        "title": "Kontakt",
        "close_hint": "Kliknutím kamkoli okno zavřete.",
        "sections": [
            ("Vydavatel", [
                "ZoT Software",
                "ul. Zamkowa 12",
                "43-400 Cieszyn, Polsko",
            ]),
            ("Zastoupení v České republice", [
                "ZoT Software s.r.o.",
                "Hlavní třída 25",
                "737 01 Český Těšín",
            ]),
            ("Technická podpora", [
                ("tel.", "+420 555 123 456"),
                ("fax", "+420 555 123 457"),
                ("e-mail", "zot@example.com"),
                ("web", "www.example.com"),
                ("hodiny", "po–pá 9:00–17:00"),
            ]),
        ],
    },
}
