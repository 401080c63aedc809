;;; ispell_stops.el --- where M-x ispell-buffer stops, in batch  -*- lexical-binding: t -*-
;; emacs -Q --batch -l ispell_stops.el SPELLER FILE
;; Visits FILE in the mode its name selects, runs ispell-buffer with SPELLER
;; as ispell-program-name and prints each word it stops at, one a line,
;; answering each stop by skipping the word.
(require 'ispell)
(let ((speller (nth 0 command-line-args-left))
      (file (nth 1 command-line-args-left))
      (stops '()))
  (setq command-line-args-left nil)
  (setq ispell-program-name speller)
  (advice-add 'ispell-command-loop :override
              (lambda (_miss _guess word _start _end) (push word stops) nil))
  (find-file file)
  (ispell-buffer)
  (dolist (word (nreverse stops)) (princ (concat word "\n"))))
