"""Driving the device as a user would: message boxes answered and reported in headless runs,
and the helper commands on a running device, on the stand-in's window and its sheet."""

import json
import os
import subprocess
import sys
import time
import unittest

from hostrun import HOST, env, host, png_size, run

QUESTION_OKCANCEL_DEFAULT2 = 0x121


class Boxes(unittest.TestCase):
    def setUp(self):
        host("factory-reset")

    def test_boxes_are_reported_and_answered_as_asked_then_with_their_default(self):
        report, out = run("--seconds", "1", "--program", "standin", "--answer", "ok", "--", "ask")
        self.assertEqual([{"text": "Switch now?", "caption": "Dorix stand-in", "style": QUESTION_OKCANCEL_DEFAULT2,
                           "answer": "ok", "answered": True}], report["boxes"], out)
        self.assertIn("Answer 1", report["final_windows"][0], out)

        report, out = run("--seconds", "1", "--program", "standin", "--", "ask")
        self.assertEqual(["default"], [b["answer"] for b in report["boxes"]], out)
        self.assertIn("Answer 2", report["final_windows"][0], out)  # Cancel, the box's default

    def test_a_sheet_is_no_box_and_is_left_alone(self):
        report, out = run("--seconds", "2", "--program", "standin", "--", "sheet")
        self.assertEqual([], report["boxes"], out)
        self.assertIn('window "Stand-in Sheet"', report["final_windows"][0], out)


class Helper(unittest.TestCase):
    def setUp(self):
        host("factory-reset")
        self.device = subprocess.Popen([sys.executable, HOST, "run", "--no-build", "--headless", "--seconds", "120",
                                        "--box-wait", "60", "--program", "standin"], env=env(), stdout=subprocess.PIPE,
                                       stderr=subprocess.STDOUT, text=True)
        # The device is up once its session answers.
        for _ in range(300):
            if self.device.poll() is not None or '"Dorix stand-in"' in host("windows", check=False):
                break
            time.sleep(0.2)

    def tearDown(self):
        host("stop", check=False)
        out, _ = self.device.communicate(timeout=60)
        self.output = out

    def windows(self):
        return json.loads(host("windows", "--json"))

    def control(self, window, id_):
        return next(c for c in window["controls"] if c["id"] == id_)

    def wait_for(self, predicate, what):
        for _ in range(50):
            found = self.windows()
            if predicate(found):
                return found
            time.sleep(0.2)
        self.fail("%s did not happen; windows: %s" % (what, json.dumps(self.windows())))

    def test_tap_type_answer_and_screenshot(self):
        found = self.wait_for(lambda w: any(x["title"] == "Dorix stand-in" for x in w), "the stand-in's window")
        main = next(x for x in found if x["title"] == "Dorix stand-in")
        self.assertEqual("Screen 240x320", self.control(main, 100)["text"])

        host("type", "--id", "102", "hello device")
        self.wait_for(lambda w: any(self.control(x, 102)["text"] == "hello device" for x in w if not x["box"]),
                      "typing into the edit box")

        host("tap", "--text", "&Ask")
        found = self.wait_for(lambda w: any(x["box"] for x in w), "the box after tapping Ask")
        box = next(x for x in found if x["box"])
        self.assertEqual(("Switch now?", QUESTION_OKCANCEL_DEFAULT2), (box["text"], box["box_style"]))
        host("answer", "ok")
        self.wait_for(lambda w: not any(x["box"] for x in w)
                      and any(self.control(x, 101)["text"] == "Answer 1" for x in w), "answering OK")

        ask = self.control(main, 300)["rect"]
        host("tap", "--point", "%d,%d" % ((ask[0] + ask[2]) // 2, (ask[1] + ask[3]) // 2))
        self.wait_for(lambda w: any(x["box"] for x in w), "the box after tapping Ask's point")
        host("answer", "--window", "stand-in", "cancel")
        self.wait_for(lambda w: any(self.control(x, 101)["text"] == "Answer 2" for x in w if not x["box"]),
                      "answering Cancel")

        shot = host("screenshot").strip()
        self.assertEqual([240, 320], png_size(shot))

        failed = subprocess.run([sys.executable, HOST, "answer", "ok"], env=env(), stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True)
        self.assertEqual(1, failed.returncode, failed.stdout)
        self.assertIn("no message box", failed.stdout)

    def sheet(self):
        return next(x for x in self.windows() if x["title"] == "Stand-in Sheet")

    def visible(self, window, id_):
        return [c for c in window["controls"] if c["id"] == id_ and c["visible"]]

    def tabs(self):
        return json.loads(host("tabs", "--window", "Stand-in Sheet", "--json"))

    def items(self, id_):
        return [(i["texts"], i["level"], i["checked"]) for i in json.loads(host("items", "--id", str(id_), "--json"))[
            "items"]]

    def test_sheet_pages_tabs_items_and_texts(self):
        self.wait_for(lambda w: any(x["title"] == "Dorix stand-in" for x in w), "the stand-in's window")
        host("command", "--window", "Dorix stand-in", "400")
        found = self.wait_for(lambda w: any(x["title"] == "Stand-in Sheet" for x in w), "the sheet after its command")
        self.assertFalse(next(x for x in found if x["title"] == "Stand-in Sheet")["box"])
        tabs = self.tabs()
        self.assertEqual((["Edits", "List", "Tree"], 0), ([t["text"] for t in tabs["tabs"]], tabs["selected"]))

        # Replaced texts reach the parent as typed ones do: once per change, each kind of box.
        host("set-text", "--id", "1000", "first")
        host("set-text", "--id", "1001", "two\r\nlines")
        host("set-text", "--id", "1005", "12")
        sheet = self.sheet()
        self.assertEqual(["Changes 1 1 1"], [c["text"] for c in self.visible(sheet, 1002)])
        self.assertEqual(("first", "two\r\nlines", "12"), tuple(self.visible(sheet, i)[0]["text"]
                                                              for i in (1000, 1001, 1005)))

        # A tapped tab shows its page, created then; the other page stays, hidden, with its texts.
        host("tab", "List")
        self.wait_for(lambda w: self.tabs()["selected"] == 1 and self.visible(self.sheet(), 1003), "the List page")
        sheet = self.sheet()
        pages = [c for c in sheet["controls"] if c["class"] == "#32770" and c["parent"] == sheet["hwnd"]]
        self.assertEqual([False, True], sorted(p["visible"] for p in pages))
        # The id repeats on the two pages: the visible edit box is the one written.
        host("set-text", "--id", "1000", "second")
        sheet = self.sheet()
        self.assertEqual(["second"], [c["text"] for c in self.visible(sheet, 1000)])
        self.assertEqual({"first", "second"}, {c["text"] for c in sheet["controls"] if c["id"] == 1000
                                               and c["class"] == "Edit"})
        self.assertEqual([(["alpha", "1"], 0, False), (["beta", "2"], 0, True), (["gamma", "3"], 0, False)],
                         self.items(1003))

        host("tab", "--index", "2")
        self.wait_for(lambda w: self.tabs()["selected"] == 2 and self.visible(self.sheet(), 1004), "the Tree page")
        self.assertEqual([(["root"], 0, False), (["first"], 1, True), (["second"], 1, False)], self.items(1004))

        host("tap", "--window", "Stand-in Sheet", "--id", "32790")
        self.wait_for(lambda w: any(self.control(x, 101)["text"] == "Sheet 1" for x in w if x["title"] ==
                                    "Dorix stand-in"), "closing the sheet with OK")


if __name__ == "__main__":
    unittest.main()
