;;; flyspell_marks.el --- print the words flyspell marks in a file

;; Run as: emacs -Q --batch -l flyspell_marks.el SPELLER FILE [utf-8]
;; Checks FILE with `flyspell-buffer', SPELLER being the Ispell program,
;; and prints each word flyspell marked as misspelled, one per line, in
;; buffer order.  Exits with status 3 when the check itself fails.
;;
;; Without utf-8 Emacs treats SPELLER as a plain Ispell with its default
;; dictionary: words of ASCII letters, text sent in ISO-8859-1.  With utf-8
;; it uses the setting recommended for quenvarspell: words of any letters,
;; text sent in UTF-8.

(require 'flyspell)

(let ((speller (pop command-line-args-left))
      (file (pop command-line-args-left))
      (utf-8 (equal (pop command-line-args-left) "utf-8")))
  (when utf-8
    (setq ispell-local-dictionary-alist
          '((nil "[[:alpha:]]" "[^[:alpha:]]" "[']" nil nil nil utf-8))))
  (setq ispell-program-name speller
        ispell-dictionary nil
        ispell-personal-dictionary nil
        flyspell-issue-message-flag nil
        flyspell-issue-welcome-flag nil)
  (condition-case failure
      (with-temp-buffer
        (let ((coding-system-for-read 'utf-8))
          (insert-file-contents file))
        (text-mode)
        (flyspell-buffer)
        (let ((marked
               (sort (seq-filter #'flyspell-overlay-p
                                 (overlays-in (point-min) (point-max)))
                     (lambda (a b) (< (overlay-start a) (overlay-start b))))))
          (dolist (overlay marked)
            (princ (format "%s\n" (buffer-substring-no-properties
                                   (overlay-start overlay)
                                   (overlay-end overlay)))))))
    (error
     (message "flyspell failed: %s" (error-message-string failure))
     (kill-emacs 3))))
