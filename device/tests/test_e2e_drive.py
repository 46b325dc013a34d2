"""Driving the device as a user would: message boxes answered and reported in headless runs,
and the helper commands on a running device."""

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


if __name__ == "__main__":
    unittest.main()
